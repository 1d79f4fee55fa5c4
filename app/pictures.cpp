// SPDX-License-Identifier: MIT
#include "app/pictures.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QIconEngine>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <cstdio>
#include <iterator>

namespace talmo {
namespace {

// Read by Qt's own PNG reader. Left to guess the format, QImageReader first
// loads every image format plugin installed (gif, ico, jpeg with libjpeg) to
// ask each of them, which cost the start a few milliseconds.
QImage ReadPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The program's icon, decoded each time it is asked for and not kept. Qt's own
// engine holds every size decoded for the program's life, 350 KiB (most of it
// the 256- and 128-pixel ones), though the window system takes them only as
// each window is made. Sizes are chosen and scaled as Qt's engine does.
class ProgramIconEngine final : public QIconEngine {
  public:
    QIconEngine* clone() const override { return new ProgramIconEngine; }

    QList<QSize> availableSizes(QIcon::Mode = QIcon::Normal, QIcon::State = QIcon::Off) override {
        QList<QSize> sizes;
        for (const int size : kIconSizes) {
            sizes.append(QSize(size, size));
        }
        return sizes;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        QSize actual(Nearest(size), Nearest(size));
        if (actual.width() > size.width() || actual.height() > size.height()) {
            actual.scale(size, Qt::KeepAspectRatio);
        }
        return actual;
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap = QPixmap::fromImage(
            ReadPng(QStringLiteral(":/pictures/talmo-%1.png").arg(Nearest(size))));
        const QSize actual = actualSize(size, mode, state);
        if (pixmap.size() != actual) {
            pixmap = pixmap.scaled(actual, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        if (mode != QIcon::Normal) {
            QStyleOption option(0);
            option.palette = QGuiApplication::palette();
            const QPixmap generated =
                QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
            if (!generated.isNull()) {
                pixmap = generated;
            }
        }
        return pixmap;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal density = painter->device() != nullptr ? painter->device()->devicePixelRatio()
                                                           : qApp->devicePixelRatio();
        const QSize device = (QSizeF(rect.size()) * density).toSize();
        QPixmap shown = pixmap(device, mode, state);
        shown.setDevicePixelRatio(density);
        painter->drawPixmap(rect, shown);
    }

  private:
    // The smallest size at least as large, else the largest: Qt's choice.
    static int Nearest(const QSize& size) {
        for (const int side : kIconSizes) {
            if (side * side >= size.width() * size.height()) {
                return side;
            }
        }
        return kIconSizes[std::size(kIconSizes) - 1];
    }
};

}  // namespace

void ShowPicture(QLabel* box, const QString& name, ProgramEnd& end) {
    const QString base = ":/pictures/" + name;
    // Read as images: they keep their own pixel size, whatever the screen.
    const QImage plain = ReadPng(base + ".png");
    if (plain.isNull()) {
        std::fprintf(stderr, "talmo: the picture %s cannot be loaded\n", qPrintable(name));
        end.EndProgram(1);
        return;
    }
    // Its own size, or smaller to fit the box; in device pixels.
    QSize logical = plain.size();
    if (logical.width() > box->width() || logical.height() > box->height()) {
        logical.scale(box->size(), Qt::KeepAspectRatio);
    }
    const qreal density = box->devicePixelRatioF();
    const QSize device = (QSizeF(logical) * density).toSize();
    // Drawn from the double-size image whenever more pixels are needed.
    QImage source = plain;
    if (device != plain.size() && QFile::exists(base + "@2x.png")) {
        source = ReadPng(base + "@2x.png");
    }
    QPixmap shown =
        QPixmap::fromImage(source.size() == device ? source
                                                   : source.scaled(device, Qt::KeepAspectRatio,
                                                                   Qt::SmoothTransformation));
    shown.setDevicePixelRatio(density);
    box->setPixmap(shown);
}

QIcon ProgramIcon() {
    return QIcon(new ProgramIconEngine);
}

}  // namespace talmo
