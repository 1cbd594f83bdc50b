#pragma once
// Fonts on paper. The program names Windows fonts; Linux machines draw them with metric-compatible
// free fonts. RegisterFontSubstitutions() must run once at start (after the QApplication exists)
// so the preview, the printer and PDF all measure and draw the same glyphs.
#include <QFont>
#include <QString>

#include "engine/DisplayList.h"

struct TFontSubstitution {
  const char* Name;        // the name the program uses
  const char* Substitute;  // the installed font that draws it
  const char* Generic;     // the CSS generic family for HTML
};

// Courier New -> Liberation Mono, Arial -> Liberation Sans, Tahoma -> DejaVu Sans,
// Coronet -> Z003.
const QList<TFontSubstitution>& FontSubstitutions();
void RegisterFontSubstitutions();  // idempotent

// The Qt font for a display-list font at a point size (size already scaled by the caller).
QFont MakeQFont(const TFontSpec& font, double pointSize);
// Width of a text in inches, measured with unhinted outlines at a high resolution so the result
// does not depend on the screen.
double TextWidthInches(const TFontSpec& font, const QString& text);
// Ascent and descent of a font in inches.
double FontAscentInches(const TFontSpec& font);
double FontDescentInches(const TFontSpec& font);
// The CSS font-family list for a display-list font name.
QString CssFontFamily(const QString& name);
