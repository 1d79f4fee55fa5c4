// SPDX-License-Identifier: MIT
// The yardstick for the tutor's start-up: the least a Qt Widgets program can
// do that looks alike, a window with a label and a Continue button that opens
// a second window. Built with the same compiler, flags and Qt as talmo.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QFont font = QApplication::font();
    font.setPointSizeF(8.25);
    QApplication::setFont(font);

    QWidget second;
    second.setWindowTitle("Minimal");
    second.resize(460, 440);
    new QLabel("The second window", &second);

    QWidget first;
    first.setWindowTitle("Minimal");
    first.setFixedSize(550, 470);
    auto* layout = new QVBoxLayout(&first);
    layout->addWidget(new QLabel("A minimal window"));
    auto* button = new QPushButton("&Continue");
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(button);
    QObject::connect(button, &QPushButton::clicked, [&] {
        second.show();
        first.hide();
    });
    first.show();
    return app.exec();
}
