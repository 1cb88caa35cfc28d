// The renderer's drawing of beam positions into the frame image, shared by the lazy beam
// follower (beam_follower.cpp) and the beam map and colours (renderer.cpp).
#pragma once

#include <cstdint>

// Draws the cells the beam visits at from, from + 4, ... below `to` (and below the frame's
// end), reading the 32 x 24 character codes at `video` and the 128 x 8 glyph bytes at
// `chars`. With skipUnchanged, a whole line whose codes, glyphs and colours are those it
// was last drawn with is left as it is: the glyphs are those last told by NoteGlyphs and
// NoteGlyphByte, which the caller keeps up with `chars`.
void DrawBeamSpan(uint32_t from, uint32_t to, const uint8_t* video, const uint8_t* chars, bool skipUnchanged);

// The glyphs the following draws read: compared with those the lines were drawn with
// once per catch-up (1 KB), not once per span. NoteGlyphByte follows a single byte that
// a replayed write changes (`index` within the 1 KB).
void NoteGlyphs(const uint8_t* chars);
void NoteGlyphByte(uint16_t index, uint8_t value);

// Makes the next skipping draw redraw every line (the image or its sources changed in a
// way the line records cannot see).
void ForgetDrawnLines();
