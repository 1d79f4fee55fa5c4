#pragma once

#include <QColor>
#include <QString>
#include <QTabBar>
#include <QWidget>

#include <map>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

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

// One row of a window's table of controls.
struct Control {
    std::string_view name;  // the object name; members of a control array share it
    int index;              // the index within its array, -1 for a single control
    Kind kind;
    std::string_view parent;  // a frame of the same form, or "" for the form's root
    QString caption;          // an ampersand marks the access key
    Rect rect;
    unsigned style = kPlain;
    QColor colour = {};       // text colour; invalid for the default
    double point_size = 0;    // 0 for the form's font
    QString accessible = {};  // the name screen readers hear, if not the caption
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

// Builds windows from tables of controls and places them, scaled uniformly
// from twips so that every text fits its control in the window's font.
// Tables list their controls in keyboard order, which the form keeps.
class Form {
  public:
    explicit Form(QWidget* root) : root_(root) {}

    // Creates the controls of a table under parent (the form's root when null).
    void Add(std::span<const Control> controls, QWidget* parent = nullptr);

    // A text that a control must be able to show in full, beyond its caption:
    // the written forms a box will display, the entries of a list.
    void RequireText(QWidget* control, const QString& text);

    QWidget* Find(std::string_view name, int index = -1) const;
    template <typename T>
    T* Get(std::string_view name, int index = -1) const {
        return qobject_cast<T*>(Find(name, index));
    }
    // The members of a control array, by index.
    template <typename T>
    std::vector<T*> Array(std::string_view name, int count) const {
        std::vector<T*> members;
        for (int i = 0; i < count; ++i) {
            members.push_back(Get<T>(name, i));
        }
        return members;
    }

    // Places a widget that is not part of a table (such as a tab strip) with
    // the others when the form is laid out.
    void Place(QWidget* widget, Rect rect) { extra_.push_back({widget, rect}); }
    // A length in pixels that a stretch of twips must at least scale to.
    void RequireLength(int pixels, int twips) { minimum_scales_.push_back(double(pixels) / twips); }

    // The smallest pixels-per-twip factor at which every text fits its
    // control: never below 1/15, 96 pixels to the inch.
    double FitScale() const;
    void Layout(double pixels_per_twip);
    // A size in twips at the form's scale.
    QSize Scaled(int width, int height) const;

    double PixelsPerTwip() const { return scale_; }

  private:
    struct Entry {
        QWidget* widget;
        const Control* control;
        QWidget* parent;
    };
    // The least scale at which the entry's texts fit; a wrapped label is
    // tried at floor first.
    double NeededScale(const Entry& entry, double floor) const;

    QWidget* root_;
    std::vector<Entry> entries_;
    std::vector<std::pair<QWidget*, Rect>> extra_;
    std::map<QWidget*, std::vector<QString>> required_;
    std::vector<double> minimum_scales_;
    double scale_ = 1.0 / 15;
};

// The text of a caption as shown: without the ampersand of the access key.
QString ShownText(const QString& caption);

}  // namespace talmo::forms
