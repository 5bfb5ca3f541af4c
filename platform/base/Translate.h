#pragma once

// The texts the program shows or prints are written in Russian, the game's own language, and
// marked for translation with Tr (or N_ where only a constant expression will do, translated
// later with Tr); the build collects every marked text into the translators' catalogue.

// `source` in the user's language, or `source` itself when there is no translation.
const char* Tr(const char* source);

// Marks a text for translation without translating it (for tables of constants).
#define N_(source) source
