#include "ScriptedPrompts.h"
#include "TestImages.h"
#include "codecs/EncoderGuids.h"
#include "codecs/EncoderRegistry.h"
#include "document/Messages.h"
#include "document/PerspectiveSteps.h"
#include "document/TilemontDoc.h"
#include "export/ExportSize.h"

#include <QCoreApplication>
#include <QHash>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>

namespace
{

using Answer = IDocumentPrompts::Answer;

// A translator that knows a few of the core's texts in German, as a
// translation file loaded by the editor would.
class GermanTexts : public QTranslator
{
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        static const QHash<QByteArray, QString> texts{
            {"Messages|Do you want to delete selected area?", QStringLiteral("Den gewählten Bereich löschen?")},
            {"Messages|Delete selected area", QStringLiteral("Gewählten Bereich löschen")},
            {"Messages|%1 was not found.", QStringLiteral("%1 wurde nicht gefunden.")},
            {"ExportSize|Please enter a width and a height of at least 1 pixel.",
             QStringLiteral("Bitte Breite und Höhe von mindestens 1 Pixel eingeben.")}};
        return texts.value(QByteArray(context) + '|' + source);
    }
    bool isEmpty() const override { return false; }
};

} // namespace

// The editor says what the document asks, reports and names its steps in
// the language of the translator installed; without one (as in the
// command-line tool) every text is exactly as written.
TEST(TranslatedTexts, TheDocumentSpeaksTheInstalledLanguageAndEnglishWithout)
{
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    CTilemontDoc doc(prompts);
    const CPolygon square = RectPolygon(0, 0, 10, 10);
    const QString missing = dir.filePath("missing.png");

    GermanTexts german;
    ASSERT_TRUE(QCoreApplication::installTranslator(&german));
    doc.SetSelection(&square);
    prompts.names.push_back(QStringLiteral("Boden"));
    doc.OnCreateArea();
    doc.SetSelectedIndex(0);
    prompts.answers.push_back(Answer::Yes);
    doc.OnDeleteArea();
    prompts.openFiles.push_back(missing);
    doc.OnSelectPicture();
    EXPECT_EQ(prompts.asked.back(), QStringLiteral("yn:Den gewählten Bereich löschen?"));
    EXPECT_EQ(doc.GetHistory().UndoText(), QStringLiteral("Gewählten Bereich löschen"));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(prompts.errors[0], missing + QStringLiteral(" wurde nicht gefunden."));
    EXPECT_EQ(ExportSizeRefusal(0, 0), QStringLiteral("Bitte Breite und Höhe von mindestens 1 Pixel eingeben."));
    // Texts the translator does not know stay as written.
    EXPECT_EQ(prompts.asked.front(), QStringLiteral("name:Enter area name|Enter area name|Area"));

    ASSERT_TRUE(QCoreApplication::removeTranslator(&german));
    doc.OnEditUndo();
    prompts.answers.push_back(Answer::Yes);
    doc.SetSelectedIndex(0);
    doc.OnDeleteArea();
    prompts.openFiles.push_back(missing);
    doc.OnSelectPicture();
    EXPECT_EQ(prompts.asked.back(), QStringLiteral("yn:Do you want to delete selected area?"));
    EXPECT_EQ(doc.GetHistory().UndoText(), QStringLiteral("Delete selected area"));
    ASSERT_EQ(prompts.errors.size(), 2);
    EXPECT_EQ(prompts.errors[1], missing + QStringLiteral(" was not found."));
    EXPECT_EQ(ExportSizeRefusal(0, 0), QStringLiteral("Please enter a width and a height of at least 1 pixel."));
}

// The German translation the build makes speaks for the core where the
// editor shows it: the document's questions and step names, a sentence that
// counts, in German plural forms, an encoder's refusal and a file filter.
// Without it the English reads as it always did, "(s)" turned into the
// right English form.
TEST(TranslatedTexts, TheRealGermanTranslationCoversTheCore)
{
    CPerspectiveFit fit;
    fit.focal = 1234.4;
    const auto status = [&fit](int lines) {
        fit.supportingLines = lines;
        return CPerspectiveSteps::FitStatus(fit);
    };
    const auto tiffFailure = [] {
        const CEncoderParameters parameters{{EncoderGuid::kCompression, kCompressionCcitt3},
                                            {EncoderGuid::kColorDepth, 24}};
        QUuid tiff;
        EXPECT_GE(GetEncoderClsid(QStringLiteral("image/tiff"), &tiff), 0);
        QString why;
        EXPECT_FALSE(FindEncoder(tiff)->Accepts(parameters, &why));
        return why;
    };
    EXPECT_EQ(status(1), QStringLiteral("Perspective fitted from 1 line (focal length 1234 px)."));
    EXPECT_EQ(status(12), QStringLiteral("Perspective fitted from 12 lines (focal length 1234 px)."));
    EXPECT_EQ(tiffFailure(), QStringLiteral("CCITT compression needs a colour depth of 1 bit."));

    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral(TILEMONT_QM_DIR "/tilemont_de.qm")));
    ASSERT_TRUE(QCoreApplication::installTranslator(&german));
    ScriptedPrompts prompts;
    CTilemontDoc doc(prompts);
    const CPolygon square = RectPolygon(0, 0, 10, 10);
    doc.SetSelection(&square);
    prompts.names.push_back(QStringLiteral("Boden"));
    doc.OnCreateArea();
    doc.SetSelectedIndex(0);
    prompts.answers.push_back(Answer::No);
    doc.OnDeleteArea();
    EXPECT_EQ(prompts.asked.front(), QStringLiteral("name:Bereichsnamen eingeben|Bereichsnamen eingeben|Bereich"));
    EXPECT_EQ(prompts.asked.back(), QStringLiteral("yn:Möchten Sie den ausgewählten Bereich löschen?"));
    EXPECT_EQ(doc.GetHistory().UndoText(), QStringLiteral("Bereich erstellen"));
    EXPECT_EQ(status(1), QStringLiteral("Perspektive aus 1 Linie ermittelt (Brennweite 1234 px)."));
    EXPECT_EQ(status(12), QStringLiteral("Perspektive aus 12 Linien ermittelt (Brennweite 1234 px)."));
    EXPECT_EQ(tiffFailure(), QStringLiteral("CCITT-Kompression erfordert eine Farbtiefe von 1 Bit."));
    EXPECT_EQ(Messages::kTemplateFilter.Translated(), QStringLiteral("Tilemont-Dateien(*.tlm)|*.tlm|"));
    ASSERT_TRUE(QCoreApplication::removeTranslator(&german));
}
