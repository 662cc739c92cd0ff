#pragma once
// Titles are made when a screen first draws them, and only the most recently drawn few are kept.
#include <cstddef>
#include <cstdint>

struct Catalogue;
struct TitleTexture;

// The screens draw one title at a time; this many keeps the titles a player browses back and
// forth through ready, while a library of any size costs no more than these.
constexpr size_t MadeTitleLimit = 32;

// The title of catalogue entry `index`, made on first use, as the most recently drawn. Releases
// the least recently drawn title once more than MadeTitleLimit are made. Needs the GL context and
// an index below the catalogue's size.
TitleTexture &titleToDraw(Catalogue &catalogue, uint16_t index);
