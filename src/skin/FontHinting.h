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

// Every text of the player's windows in the Korean face the skin draws with,
// Latin letters and digits included, as on the desktop the skin was made
// for. The desktop's default face has no Korean, so each text was drawn in
// two faces (the default one and the Korean one as its fallback): four font
// files at start with their bold ones, and a fallback search in fontconfig
// at the first Korean word. Where the face is missing, Qt's default stays.
void UseSkinFaceForAllText();
