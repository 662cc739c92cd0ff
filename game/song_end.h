#pragma once
void finishSong();
void leaveSong();
