// SPDX-License-Identifier: MIT
#include "forms/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>

namespace talmo::forms {
namespace {

// Shows a scale's end marks, such as "10" and "100K", under the two ends of a
// slider; its text stays the words with the blanks between them.
class TickLabel final : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent*) override {
        const QStringList words = text().split(' ', Qt::SkipEmptyParts);
        if (words.isEmpty()) {
            return;
        }
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, words.front());
        if (words.size() > 1) {
            painter.drawText(rect(), Qt::AlignRight | Qt::AlignTop, words.back());
        }
    }
};

}  // namespace

QWidget* CreateControl(const Control& c, QWidget* parent) {
    switch (c.kind) {
        case Kind::kButton: {
            auto* button = new QPushButton(c.caption, parent);
            button->setAutoDefault(false);
            return button;
        }
        case Kind::kLabel:
        case Kind::kWrapLabel: {
            auto* label = new QLabel(c.caption, parent);
            label->setTextFormat(Qt::PlainText);
            // A line of text sits level with the box or button beside it.
            const bool wrap = c.kind == Kind::kWrapLabel;
            label->setAlignment(Qt::AlignLeft | (wrap ? Qt::AlignTop : Qt::AlignVCenter));
            label->setWordWrap(wrap);
            return label;
        }
        case Kind::kTicks: {
            auto* label = new TickLabel(c.caption, parent);
            label->setTextFormat(Qt::PlainText);
            return label;
        }
        case Kind::kTextBox: {
            auto* box = new QLineEdit(c.caption, parent);
            // A display box is a bare field: its twips leave no room for an
            // edit frame.
            const bool display = (c.style & kReadOnly) != 0;
            box->setReadOnly(display);
            box->setFrame(!display);
            return box;
        }
        case Kind::kFrame:
            return new QGroupBox(c.caption, parent);
        case Kind::kPage:
            return new PageFrame(c.caption, parent);
        case Kind::kPicture: {
            auto* picture = new QLabel(parent);
            picture->setAlignment(Qt::AlignCenter);
            return picture;
        }
        case Kind::kList:
            return new QListWidget(parent);
        case Kind::kSlider:
            return new QSlider(Qt::Horizontal, parent);
        case Kind::kTabStrip: {
            auto* strip = new TabStrip(parent);
            strip->lower();
            return strip;
        }
        case Kind::kChoice:
            return new QComboBox(parent);
        case Kind::kCheckBox:
            return new QCheckBox(c.caption, parent);
    }
    return nullptr;
}

TabStrip::TabStrip(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setUsesScrollButtons(false);
    bar_->setElideMode(Qt::ElideNone);
}

void TabStrip::resizeEvent(QResizeEvent*) {
    bar_->setGeometry(0, 0, width(), bar_->sizeHint().height());
}

void TabStrip::paintEvent(QPaintEvent*) {
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, bar_->sizeHint().height() - 1, 0, 0);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = bar_->sizeHint();
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

void PageFrame::paintEvent(QPaintEvent*) {
    if (!caption_.isEmpty()) {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect().adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop, caption_);
    }
}

QString ShownText(const QString& caption) {
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;  // "&&" shows one ampersand; "&x" shows x
        }
        shown += caption[i];
    }
    return shown;
}

}  // namespace talmo::forms
