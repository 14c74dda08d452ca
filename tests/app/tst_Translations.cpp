// Every text the program shows goes through a translation catalogue: Qt's own extractor reads
// the sources into a scratch catalogue, and each of the five shipped catalogues must carry every
// text it found, translated, with the same placeholders and mnemonics.

#include <QDir>
#include <QFile>
#include <QHash>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct Entry
{
    bool numerus = false;
    bool finished = false;
    QStringList forms; // the translation, or each plural form
};

// context + source + disambiguation, which is what a lookup matches on.
using Catalogue = QHash<QString, Entry>;

QString keyOf(const QString &context, const QString &source, const QString &comment)
{
    return context + QChar(0x1f) + source + QChar(0x1f) + comment;
}

QString describe(const QString &key)
{
    QStringList parts = key.split(QChar(0x1f));
    return QStringLiteral("[%1] \"%2\"%3")
        .arg(parts.value(0), parts.value(1),
             parts.value(2).isEmpty() ? QString() : QStringLiteral(" (%1)").arg(parts.value(2)));
}

std::optional<Catalogue> readCatalogue(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return std::nullopt;
    }
    Catalogue catalogue;
    QXmlStreamReader xml(&file);
    QString context, source, comment;
    Entry entry;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QStringView name = xml.name();
            if (name == u"name") {
                context = xml.readElementText();
            } else if (name == u"message") {
                source.clear();
                comment.clear();
                entry = Entry();
                entry.numerus
                    = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
            } else if (name == u"source") {
                source = xml.readElementText();
            } else if (name == u"comment") {
                comment = xml.readElementText();
            } else if (name == u"translation") {
                const QStringView type = xml.attributes().value(QLatin1String("type"));
                entry.finished = type.isEmpty();
                if (!entry.numerus)
                    entry.forms << xml.readElementText();
            } else if (name == u"numerusform") {
                entry.forms << xml.readElementText();
            }
        } else if (xml.isEndElement() && xml.name() == u"message") {
            catalogue.insert(keyOf(context, source, comment), entry);
        }
    }
    if (xml.hasError()) {
        *error = path + QStringLiteral(": ") + xml.errorString();
        return std::nullopt;
    }
    return catalogue;
}

// "%1".."%9" and "%n", each also with "L" for digit grouping, as a sorted list, and the number of
// "&" mnemonics ("&&" is a literal ampersand).
QStringList placeholders(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("%L?[1-9n]"));
    QStringList found;
    for (const QRegularExpressionMatch &m : pattern.globalMatch(text))
        found << m.captured();
    found.sort();
    return found;
}

int mnemonics(QString text)
{
    text.remove(QStringLiteral("&&"));
    return int(text.count(QLatin1Char('&')));
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyTextIsTranslated_data();
    void everyTextIsTranslated();

private:
    Catalogue m_sources;
};

void TestTranslations::initTestCase()
{
    const QString root = qEnvironmentVariable("LARK_SOURCE_DIR");
    QVERIFY2(QDir(root).exists(QStringLiteral("resources/i18n")), qPrintable(root));
    const QString lupdate
        = QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/lupdate");
    QVERIFY2(QFile::exists(lupdate), qPrintable(lupdate));

    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QString ts = scratch.filePath(QStringLiteral("sources.ts"));
    QProcess run;
    run.setWorkingDirectory(root);
    QStringList arguments {QStringLiteral("-no-obsolete"),
                           QStringLiteral("-locations"),
                           QStringLiteral("none"),
                           QStringLiteral("-I"),
                           root,
                           QStringLiteral("-extensions"),
                           QStringLiteral("cpp,h")};
    for (const char *layer : {"model", "storage", "platform", "core", "services", "ui", "app"})
        arguments << QString::fromLatin1(layer);
    arguments << QStringLiteral("-ts") << ts;
    run.start(lupdate, arguments);
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitCode(), 0);

    // A text the extractor cannot place (tr() outside a class, a class without its macro) would
    // be missing from every catalogue without anyone noticing.
    const QString output
        = QString::fromUtf8(run.readAllStandardError() + run.readAllStandardOutput());
    QStringList problems;
    for (const QString &line : output.split(QLatin1Char('\n'))) {
        if (line.contains(QLatin1String(".cpp:")) || line.contains(QLatin1String(".h:")))
            problems << line;
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));

    QString error;
    const std::optional<Catalogue> sources = readCatalogue(ts, &error);
    QVERIFY2(sources, qPrintable(error));
    // The program has well over a hundred texts; far fewer means the scan itself went wrong.
    QVERIFY2(sources->size() > 150, qPrintable(QString::number(sources->size())));
    m_sources = *sources;
}

void TestTranslations::everyTextIsTranslated_data()
{
    QTest::addColumn<QString>("language");
    for (const char *language : {"en", "de", "es", "fr", "ja"})
        QTest::newRow(language) << QString::fromLatin1(language);
}

void TestTranslations::everyTextIsTranslated()
{
    QFETCH(QString, language);
    QString error;
    const std::optional<Catalogue> catalogue
        = readCatalogue(qEnvironmentVariable("LARK_SOURCE_DIR")
                            + QStringLiteral("/resources/i18n/calendar_%1.ts").arg(language),
                        &error);
    QVERIFY2(catalogue, qPrintable(error));

    // English reads its source texts, except where a count needs its singular and plural.
    const bool english = language == QLatin1String("en");
    QStringList faults;
    for (auto it = m_sources.cbegin(); it != m_sources.cend(); ++it) {
        const QString source = it.key().section(QChar(0x1f), 1, 1);
        const auto found = catalogue->constFind(it.key());
        if (found == catalogue->cend()) {
            faults << QStringLiteral("missing ") + describe(it.key());
            continue;
        }
        if (found->numerus != it->numerus) {
            faults << QStringLiteral("plural form differs ") + describe(it.key());
            continue;
        }
        if (english && !found->numerus)
            continue;
        const bool empty = found->forms.isEmpty()
            || std::any_of(found->forms.cbegin(), found->forms.cend(),
                           [](const QString &form) { return form.isEmpty(); });
        if (!found->finished || empty) {
            faults << QStringLiteral("untranslated ") + describe(it.key());
            continue;
        }
        // Spanish speaks to the user as "usted" throughout, never as "tú".
        static const QRegularExpression familiar(
            QStringLiteral("\\b(tú|tu|tus|tuy[ao]s?|te|ti|contigo|has|eres|puedes|quieres)\\b"),
            QRegularExpression::CaseInsensitiveOption
                | QRegularExpression::UseUnicodePropertiesOption);
        for (const QString &form : found->forms) {
            if (language == QLatin1String("fr") && form.contains(QLatin1Char('\'')))
                faults << QStringLiteral("straight apostrophe in \"%1\"").arg(form);
            if (language == QLatin1String("es") && form.contains(familiar))
                faults << QStringLiteral("\"tú\" in \"%1\"").arg(form);
            if (placeholders(form) != placeholders(source)
                || mnemonics(form) != mnemonics(source)) {
                faults << QStringLiteral("placeholders or mnemonic differ in \"%1\" for ").arg(form)
                        + describe(it.key());
            }
        }
    }
    faults.sort();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_Translations.moc"
