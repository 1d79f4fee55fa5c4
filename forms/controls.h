// SPDX-License-Identifier: MIT
#pragma once

// The controls a window is made of, and how a row of a table becomes one.

#include <QColor>
#include <QString>
#include <QTabBar>
#include <QWidget>

#include <string>

namespace talmo::forms {

// The kinds of control a window is made of.
enum class Kind {
    kButton,
    kLabel,      // one line
    kWrapLabel,  // several lines, wrapped at its width
    kTicks,      // a scale's end marks: the first word at the left, the last at the right
    kTextBox,    // one line; kReadOnly for a display
    kFrame,      // a group, with or without a caption
    kPage,       // a page on a tab strip's body: no border, an optional caption
    kPicture,
    kList,
    kSlider,
    kTabStrip,  // tabs over a body that lies behind every other control
    kChoice,    // a drop-down list of choices
    kCheckBox,  // a box to tick, its caption beside it
};

// A strip of tabs over a framed body, like a tab widget whose pages are
// ordinary frames of the window that the program shows and hides itself.
class TabStrip final : public QWidget {
    Q_OBJECT

  public:
    explicit TabStrip(QWidget* parent);
    QTabBar* Bar() const { return bar_; }

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

  private:
    QTabBar* bar_;
};

// Positions and sizes in twips (1440 to the inch), within the parent.
struct Rect {
    int left, top, width, height;
};

enum Style : unsigned {
    kPlain = 0,
    kBold = 1u << 0,
    kReadOnly = 1u << 1,
    kHidden = 1u << 2,  // hidden until the program shows it
};

// One row of a window's table of controls. A row names only what differs
// from these defaults.
struct Control {
    std::string name;  // the object name; members of a control array share it
    int index = -1;    // the index within its array, -1 for a single control
    Kind kind = Kind::kLabel;
    std::string parent = {};  // a frame of the same form, or "" for the form's root
    QString caption = {};     // an ampersand marks the access key
    Rect rect = {};
    unsigned style = kPlain;
    QColor colour = {};       // text colour; invalid for the default
    double point_size = 0;    // 0 for the form's font
    QString accessible = {};  // the name screen readers hear, if not the caption
    std::string buddy = {};   // a label's control, which the label's access key moves to
};

// A page of a tab strip: borderless, showing its caption, if it has one, at
// its top left.
class PageFrame final : public QWidget {
    Q_OBJECT

  public:
    PageFrame(const QString& caption, QWidget* parent) : QWidget(parent), caption_(caption) {}
    const QString& Caption() const { return caption_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QString caption_;
};

// The property that holds a control's index within its array.
inline constexpr const char* kIndexProperty = "index";

// Creates the widget a row of a table describes, under parent.
QWidget* CreateControl(const Control& control, QWidget* parent);

// The text of a caption as shown: without the ampersand of the access key.
QString ShownText(const QString& caption);

}  // namespace talmo::forms
