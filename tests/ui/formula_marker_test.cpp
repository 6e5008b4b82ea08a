// SPDX-License-Identifier: MIT
// The warning marker inside the formula fields and the value fields: shown while the text is
// read differently from how it looks, with the notes in Japanese; the click that fixes what is
// unambiguous as one edit Ctrl+Z undoes; the value fields' separator under a comma locale; and a
// formula with a note running exactly as the formula the engine reads.
#include "ui/formula_marker.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest/QTest>

#include "window_fixture.h"

namespace kurvilo {
namespace {

class WarningMarker : public WindowTest {
  protected:
    // The three formula fields: Edit1 and Edit2 of the main window and the keypad's Edit1.
    std::vector<QLineEdit*> formulaFields() {
        return {inMain<QLineEdit>("Edit1"), inMain<QLineEdit>("Edit2"), form2->Edit1};
    }

    static QAction* markerOf(QLineEdit* field, const char* name = "FormulaMarker") {
        return field->findChild<QAction*>(QString::fromLatin1(name));
    }

    // The marker's action, where the field shows it; nullptr where it does not.
    static QAction* shownMarker(QLineEdit* field, const char* name = "FormulaMarker") {
        QAction* marker = markerOf(field, name);
        return marker != nullptr && field->actions().contains(marker) ? marker : nullptr;
    }

    static QToolButton* buttonOf(QLineEdit* field, QAction* marker) {
        for (QToolButton* button : field->findChildren<QToolButton*>()) {
            if (button->defaultAction() == marker && button->isVisibleTo(field)) return button;
        }
        return nullptr;
    }

    // Types the text as a user would: ASCII from the keyboard, the rest as an input method
    // commits it.
    static void typeMore(QLineEdit* field, const QString& text) {
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(field, char(c.unicode()));
            } else {
                QInputMethodEvent commit;
                commit.setCommitString(QString(c));
                QApplication::sendEvent(field, &commit);
            }
        }
    }

    static void type(QLineEdit* field, const QString& text) {
        field->clear();
        typeMore(field, text);
    }

    void switchLocale(const QLocale& locale) {
        QLocale::setDefault(locale);
        QEvent change(QEvent::LocaleChange);
        QApplication::sendEvent(form1, &change);
    }

    std::vector<std::string> ticks(const QString& edit1, int count) {
        inMain<QLineEdit>("Edit1")->setText(edit1);
        inMain<QLineEdit>("Edit2")->setText("-x");
        inMain<QLineEdit>("LabeledEdit16")->setText("5");
        inMain<QLineEdit>("LabeledEdit12")->setText("5");
        inMain<QLineEdit>("LabeledEdit13")->setText("2");
        click("Button1");
        for (int tick = 0; tick < count; ++tick)
            form1->Timer1Timer();
        click("Button2");
        std::vector<std::string> out = rows(inMain<ListBox>("ListBox1"));
        out.push_back(inMain<QLabel>("Label3")->text().toStdString());
        return out;
    }
};

TEST_F(WarningMarker, EachFormulaFieldShowsItWhileItsFormulaHasANote) {
    for (QLineEdit* field : formulaFields()) {
        SCOPED_TRACE(field->objectName().toStdString());
        field->setEnabled(true);
        const QRect geometry = field->geometry();
        ASSERT_NE(markerOf(field), nullptr);
        EXPECT_EQ(shownMarker(field), nullptr);

        type(field, QStringLiteral("－ｙ"));
        QAction* marker = shownMarker(field);
        ASSERT_NE(marker, nullptr);
        EXPECT_TRUE(marker->toolTip().contains(QStringLiteral(
            "「－ｙ」は全角です。半角の「-y」と読まれず、ここで読み取りが止まります")))
            << marker->toolTip().toStdString();
        // Inside the field, at its trailing end; the field itself stays where it is.
        QToolButton* button = buttonOf(field, marker);
        ASSERT_NE(button, nullptr);
        EXPECT_GT(button->geometry().center().x(), field->width() / 2);
        EXPECT_TRUE(field->rect().contains(button->geometry()));
        EXPECT_EQ(field->geometry(), geometry);
        EXPECT_EQ(field->text(), QStringLiteral("－ｙ"));  // nothing is fixed unasked

        type(field, QStringLiteral("-y"));
        EXPECT_EQ(shownMarker(field), nullptr);
        EXPECT_EQ(buttonOf(field, marker), nullptr);
    }
}

TEST_F(WarningMarker, TheTooltipFollowsTheTypingAndQuotesTheCharacters) {
    QLineEdit* edit1 = inMain<QLineEdit>("Edit1");
    const struct {
        const char* typed;
        const char* says;  // empty: no marker
    } steps[] = {
        {"2x", ""},
        {"^2", "「2」は失われます"},
        {" ", "「2」は失われます"},  // a blank at the end ends nothing
        {"+1", "空白で読み取りが止まり"},
    };
    edit1->clear();
    for (const auto& step : steps) {
        SCOPED_TRACE(step.typed);
        typeMore(edit1, QString::fromUtf8(step.typed));
        QAction* marker = shownMarker(edit1);
        if (*step.says == '\0') {
            EXPECT_EQ(marker, nullptr);
            continue;
        }
        ASSERT_NE(marker, nullptr);
        EXPECT_TRUE(marker->toolTip().contains(QString::fromUtf8(step.says)))
            << marker->toolTip().toStdString();
        EXPECT_EQ(buttonOf(edit1, marker)->toolTip(), marker->toolTip());
    }
}

TEST_F(WarningMarker, EveryNoteIsListedInJapanese) {
    QLineEdit* edit1 = inMain<QLineEdit>("Edit1");
    const struct {
        const char* formula;
        const char* says;
    } cases[] = {
        {"-0,5*y", "「0,5」の「,」で読み取りが止まります"},
        {"pi", "「pi」という名前や関数はありません"},
        {"sqrt(2)", "近いものは「^0.5」です"},
        {"Sin(1)", "「sin」と書きます"},
        {"2**3", "「**」は「*」と読まれ"},
        {"2*-3", "「*-」の「-」は因数の符号になりません"},
        {"3^2^2", "底「3」は捨てられます"},
        {"2*(3", "閉じていない「(」は 0 と読まれます"},
        {"(-8)^(1/3)", "負の底と小数の指数"},
        {"x)", "「)」に対応する「(」がありません"},
        {"Σ{n=1<>x:n}", "Σ の上限「x」は整数ではありません"},
        {"2×3", "「×」は「*」に似た別の文字です"},
        {"x　y", "全角の空白で読み取りが止まり"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        edit1->setText(QString::fromUtf8(c.formula));
        QAction* marker = shownMarker(edit1);
        ASSERT_NE(marker, nullptr);
        EXPECT_TRUE(marker->toolTip().contains(QString::fromUtf8(c.says)))
            << marker->toolTip().toStdString();
    }
}

TEST_F(WarningMarker, ALongFormulaIsReadOnceTheTypingPauses) {
    QLineEdit* edit1 = inMain<QLineEdit>("Edit1");
    QString formula;
    for (int i = 0; i < 10000; ++i)
        formula += QStringLiteral("x+1*");
    formula += QStringLiteral("pi");
    edit1->setText(formula);
    EXPECT_EQ(shownMarker(edit1), nullptr);  // not yet: the text is read after a pause
    EXPECT_TRUE(QTest::qWaitFor([&] { return shownMarker(edit1) != nullptr; }, 5000));
    EXPECT_TRUE(shownMarker(edit1)->toolTip().contains(QStringLiteral("「pi」")));
    edit1->setText(QStringLiteral("x"));
    EXPECT_EQ(shownMarker(edit1), nullptr);
}

TEST_F(WarningMarker, AClickFixesWhatIsUnambiguousAsOneEditThatCtrlZUndoes) {
    for (QLineEdit* field : formulaFields()) {
        SCOPED_TRACE(field->objectName().toStdString());
        field->setEnabled(true);
        type(field, QStringLiteral("pi*ｘ**2-0,5"));
        QAction* marker = shownMarker(field);
        ASSERT_NE(marker, nullptr);
        EXPECT_TRUE(marker->toolTip().contains(QStringLiteral("クリックすると直します")));
        QTest::mouseClick(buttonOf(field, marker), Qt::LeftButton);
        EXPECT_EQ(field->text(), QStringLiteral("π*x^2-0.5"));
        EXPECT_EQ(shownMarker(field), nullptr);

        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(field->text(), QStringLiteral("pi*ｘ**2-0,5"));
        EXPECT_NE(shownMarker(field), nullptr);
    }
}

TEST_F(WarningMarker, AClickChangesNothingWhereNoFixIsUnambiguous) {
    QLineEdit* edit1 = inMain<QLineEdit>("Edit1");
    for (const char* formula : {"2x^2", "x + 1", "sqrt(2)", "1,000,000"}) {
        SCOPED_TRACE(formula);
        edit1->setText(QString::fromUtf8(formula));
        QAction* marker = shownMarker(edit1);
        ASSERT_NE(marker, nullptr);
        EXPECT_FALSE(marker->toolTip().contains(QStringLiteral("クリックすると直します")));
        marker->trigger();
        EXPECT_EQ(edit1->text(), QString::fromUtf8(formula));
    }
}

TEST_F(WarningMarker, IsNamedForScreenReaders) {
    QLineEdit* edit1 = inMain<QLineEdit>("Edit1");
    edit1->setText(QStringLiteral("2**3"));
    QToolButton* button = buttonOf(edit1, shownMarker(edit1));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->accessibleName(), QStringLiteral("数式の注意"));
    EXPECT_TRUE(button->accessibleDescription().contains(QStringLiteral("「**」")));

    QLineEdit* value = inMain<QLineEdit>("LabeledEdit16");
    value->setText(QStringLiteral("abc"));
    button = buttonOf(value, shownMarker(value, "ValueMarker"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->accessibleName(), QStringLiteral("値の注意"));
}

TEST_F(WarningMarker, AValueFieldSaysWhichSeparatorItExpects) {
    const char* const initialValues[] = {"LabeledEdit12", "LabeledEdit15", "LabeledEdit13",
                                         "LabeledEdit16"};
    std::vector<QLineEdit*> fields;
    for (const char* name : initialValues)
        fields.push_back(inMain<QLineEdit>(name));
    for (int i = 0; i < 4; ++i)
        fields.push_back(form2->constantField(i));

    for (QLineEdit* field : fields) {
        SCOPED_TRACE(field->objectName().toStdString());
        switchLocale(QLocale::c());
        field->setText(QStringLiteral("0.5"));
        EXPECT_EQ(shownMarker(field, "ValueMarker"), nullptr);
        field->setText(QStringLiteral("0,5"));
        QAction* marker = shownMarker(field, "ValueMarker");
        ASSERT_NE(marker, nullptr);
        EXPECT_TRUE(marker->toolTip().contains(
            QStringLiteral("「0,5」は値として読めません。この欄の小数点は「.」です")))
            << marker->toolTip().toStdString();

        // Under a German locale the same text parses, and "0.5" does not.
        switchLocale(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(shownMarker(field, "ValueMarker"), nullptr);
        field->setText(QStringLiteral("0.5"));
        marker = shownMarker(field, "ValueMarker");
        ASSERT_NE(marker, nullptr);
        EXPECT_TRUE(marker->toolTip().contains(QStringLiteral("この欄の小数点は「,」です")))
            << marker->toolTip().toStdString();
        field->setText(QStringLiteral("abc"));
        EXPECT_TRUE(shownMarker(field, "ValueMarker")
                        ->toolTip()
                        .contains(QStringLiteral("「abc」は数値として読めません")));
        field->setText(QStringLiteral("0"));
        EXPECT_EQ(shownMarker(field, "ValueMarker"), nullptr);
    }
}

TEST_F(WarningMarker, AnEmptyValueFailsARunWhileAnEmptyConstantBecomes0) {
    QLineEdit* initial = inMain<QLineEdit>("LabeledEdit16");
    initial->clear();
    ASSERT_NE(shownMarker(initial, "ValueMarker"), nullptr);
    EXPECT_TRUE(shownMarker(initial, "ValueMarker")
                    ->toolTip()
                    .contains(QStringLiteral("値が空で、描写が失敗します")));
    form2->constantField(0)->clear();
    EXPECT_EQ(shownMarker(form2->constantField(0), "ValueMarker"), nullptr);
}

TEST_F(WarningMarker, AFormulaWithANoteRunsAsTheFormulaTheEngineReads) {
    const struct {
        const char* noted;
        const char* read;
    } cases[] = {
        {"－ｙ", "0"}, {"2y^2", "y^2"},  {"-y + 1", "-y"},
        {"pi*y", "0"}, {"-0,5*y", "-0"}, {"2**3", "2*3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.noted);
        const std::vector<std::string> noted = ticks(QString::fromUtf8(c.noted), 3);
        EXPECT_NE(shownMarker(inMain<QLineEdit>("Edit1")), nullptr);
        EXPECT_EQ(inMain<QLineEdit>("Edit1")->text(), QString::fromUtf8(c.noted));
        EXPECT_EQ(noted, ticks(QString::fromUtf8(c.read), 3));
    }
}

}  // namespace
}  // namespace kurvilo
