#pragma once
void updatePlay();
