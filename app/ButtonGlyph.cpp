#include "app/ButtonGlyph.h"

#include <QIcon>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

namespace {

// The glyph may shrink to this side; below it a tick is no longer a tick.
constexpr int SmallestGlyph = 10;

} // namespace

void FitGlyphBesideCaption(QPushButton* button, const QIcon& glyph) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.features =
        button->autoDefault() ? QStyleOptionButton::AutoDefaultButton : QStyleOptionButton::None;
    const QStyle* buttonStyle = button->style();
    const QRect content =
        buttonStyle->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const int textWidth =
        button->fontMetrics()
            .boundingRect(content, Qt::AlignCenter | Qt::TextShowMnemonic, option.text)
            .width();
    const int side = std::min({buttonStyle->pixelMetric(QStyle::PM_ButtonIconSize, &option, button),
                               content.width() - textWidth - ButtonGlyphSpacing, content.height()});
    if (side < SmallestGlyph) {
        button->setIcon(QIcon());
        return;
    }
    button->setIcon(glyph);
    button->setIconSize(QSize(side, side));
}
