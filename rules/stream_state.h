#pragma once
// Where the song's music stream is; Finished also stands for a stream never opened.
enum StreamState { Primed = 0, Streaming = 1, Draining = 2, Finished = 3 };
