#include "platform/forms/german_texts.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>

#include <memory>

namespace {

QStringList texte(const QList<QAction*>& actions) {
    QStringList out;
    for (QAction* a : actions)
        if (!a->isSeparator()) out << a->text();
    return out;
}

// Qt's own windows: the context menu of every text field, the file dialog and the colour
// dialog speak German once the programs have called installGermanTexts at their start.
TEST(GermanTexts, QtsOwnDialogsAndContextMenusSpeakGerman) {
    ASSERT_TRUE(forms::installGermanTexts()) << "Qt's German translations (qt6-translations-l10n) are missing";
    EXPECT_TRUE(forms::installGermanTexts());

    QLineEdit feld;
    feld.setText("Anna");
    std::unique_ptr<QMenu> menue(feld.createStandardContextMenu());
    const QStringList kontext = texte(menue->actions());
    EXPECT_FALSE(kontext.filter(QRegularExpression("^&Kopieren")).isEmpty()) << kontext.join('|').toStdString();
    EXPECT_FALSE(kontext.join('|').contains("Copy"));

    QFileDialog datei(nullptr, "Öffnen");
    datei.setOption(QFileDialog::DontUseNativeDialog);
    auto* name = datei.findChild<QLabel*>("fileNameLabel");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), "Datei&name:");

    QColorDialog farbe;
    farbe.setOption(QColorDialog::DontUseNativeDialog);
    QStringList knoepfe;
    for (auto* b : farbe.findChildren<QPushButton*>()) knoepfe << b->text();
    EXPECT_TRUE(knoepfe.contains("&Abbrechen") || knoepfe.contains("Abbrechen")) << knoepfe.join('|').toStdString();
}

}  // namespace
