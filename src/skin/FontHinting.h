#pragma once

// Text in both programs is hinted by the fonts' own instructions rather than
// by FreeType's automatic hinter. The Korean face the skin draws with carries
// instructions for the small sizes the skin uses, which come out crisper;
// and the automatic hinter, to measure a Korean face, loads reference glyphs
// spread over the whole font file, which kept about 1.7 MB of each face
// resident from the first Korean word drawn (some 3.5 MB of the main
// window's start). Call once the application object exists: every font
// that does not choose otherwise inherits it.
void UseFontsOwnHinting();
