#pragma once

class QIcon;
class QPushButton;

// The gap the style leaves between a button's glyph and its text.
constexpr int ButtonGlyphSpacing = 4;

// For a button that keeps its designed size, the caption decides the glyph: the style's size when
// both fit, a smaller one when only that fits, none when the text alone fills the button.
void FitGlyphBesideCaption(QPushButton* button, const QIcon& glyph);
