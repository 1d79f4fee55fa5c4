// SPDX-License-Identifier: MIT
// A form keeps the rows it was given and refuses names it does not have.
#include <QLabel>
#include <QTest>

#include <stdexcept>
#include <vector>

#include "forms/form.h"

using talmo::forms::Control;
using talmo::forms::Form;
using talmo::forms::Kind;

class FormTest : public QObject {
    Q_OBJECT

  private slots:
    void KeepsItsOwnRowsAndRefusesUnknownNames() {
        QWidget root;
        Form form(&root);
        {
            // The table is gone before the form is used.
            const std::vector<Control> table{
                {.name = "frame", .kind = Kind::kFrame, .rect = {0, 0, 2000, 2000}},
                {.name = "label",
                 .index = 1,
                 .parent = "frame",
                 .caption = "Ett",
                 .rect = {0, 0, 500, 300}},
            };
            form.Add(table);
        }
        form.Layout(form.FitScale());
        QCOMPARE(form.Get<QLabel>("label", 1)->text(), QString("Ett"));
        QCOMPARE(form.Find("label", 1)->parentWidget(), form.Find("frame"));
        for (const auto& [name, index] : {std::pair{"label", -1}, std::pair{"nothing", -1}}) {
            try {
                form.Find(name, index);
                QFAIL("an unknown control was found");
            } catch (const std::logic_error& e) {
                QVERIFY(QString(e.what()).contains(name));
            }
        }
    }
};

QTEST_MAIN(FormTest)
#include "form_test.moc"
