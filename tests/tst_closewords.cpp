// SPDX-License-Identifier: GPL-3.0-or-later
// The close words offered for a text that matches no headword: the edits counted, the bound,
// the ranking by use, the other initials, and how often the word meant is among those
// offered for common misspellings in the sample dictionary.
#include "lookup/closewords.h"
#include "lookup/engine.h"

#include "dataset/dataset.h"
#include "platform/regularfile.h"
#include "store/datafiles.h"
#include "store/datafolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using lookup::closeWords;
using store::IndexText;
using store::UsageRanking;

namespace {

IndexText indexOf(const QList<QByteArray> &headwords)
{
    QByteArray text;
    for (const QByteArray &headword : headwords)
        text += "  " + headword + "\r\n";
    return IndexText(text);
}

// A set of letters f, k, p and s, the letters in alphabetical order.
dataset::DataSet fixture()
{
    dataset::DataSet set;
    const auto add = [&set](char letter, const QList<QByteArray> &headwords) {
        for (const QByteArray &headword : headwords)
            set.letters[letter - 'a'].append({headword, "def " + headword});
    };
    add('f', {"Fane", "Fine", "Fore"});
    add('k', {"Knife"});
    add('p', {"Phone", "Pine"});
    add('s', {"Sand", "Send", "Sind"});
    set.usage = {"Send", "Phone", "Sand", "Fine"};
    return set;
}

// Common misspellings of English words, and the word meant.
struct Misspelling
{
    const char *typed;
    const char *meant;
};
// clang-format off
constexpr Misspelling kMisspellings[] = {
    {"accomodate", "accommodate"},       {"accomodation", "accommodation"},
    {"acheive", "achieve"},              {"accross", "across"},
    {"agressive", "aggressive"},         {"agression", "aggression"},
    {"apparantly", "apparently"},        {"appearence", "appearance"},
    {"arguement", "argument"},           {"assasination", "assassination"},
    {"basicly", "basically"},            {"begining", "beginning"},
    {"beleive", "believe"},              {"belive", "believe"},
    {"bizzare", "bizarre"},              {"buisness", "business"},
    {"calender", "calendar"},            {"camoflage", "camouflage"},
    {"catagory", "category"},            {"cemetary", "cemetery"},
    {"changable", "changeable"},         {"cheif", "chief"},
    {"collegue", "colleague"},           {"commitee", "committee"},
    {"completly", "completely"},         {"concious", "conscious"},
    {"curiousity", "curiosity"},         {"definately", "definitely"},
    {"dilema", "dilemma"},               {"dissapear", "disappear"},
    {"dissapoint", "disappoint"},        {"ecstacy", "ecstasy"},
    {"embarass", "embarrass"},           {"enviroment", "environment"},
    {"existance", "existence"},          {"familar", "familiar"},
    {"finaly", "finally"},               {"florescent", "fluorescent"},
    {"foriegn", "foreign"},              {"fourty", "forty"},
    {"freind", "friend"},                {"goverment", "government"},
    {"gaurd", "guard"},                  {"happend", "happened"},
    {"harrass", "harass"},               {"humourous", "humorous"},
    {"idiosyncracy", "idiosyncrasy"},    {"immediatly", "immediately"},
    {"incidently", "incidentally"},      {"independant", "independent"},
    {"interupt", "interrupt"},           {"irresistable", "irresistible"},
    {"knowlege", "knowledge"},           {"liason", "liaison"},
    {"libary", "library"},               {"lisence", "license"},
    {"maintenence", "maintenance"},      {"millenium", "millennium"},
    {"miniture", "miniature"},           {"mischievious", "mischievous"},
    {"mispell", "misspell"},             {"neccessary", "necessary"},
    {"nolege", "knowledge"},             {"noticable", "noticeable"},
    {"occassion", "occasion"},           {"occured", "occurred"},
    {"occurence", "occurrence"},         {"ocurrence", "occurrence"},
    {"pavillion", "pavilion"},           {"persistant", "persistent"},
    {"posession", "possession"},         {"prefered", "preferred"},
    {"propoganda", "propaganda"},        {"publically", "publicly"},
    {"realy", "really"},                 {"recieve", "receive"},
    {"reccomend", "recommend"},          {"refered", "referred"},
    {"relevent", "relevant"},            {"religous", "religious"},
    {"remeber", "remember"},             {"repitition", "repetition"},
    {"resistence", "resistance"},        {"rythm", "rhythm"},
    {"sieze", "seize"},                  {"seperate", "separate"},
    {"sargent", "sergeant"},             {"similer", "similar"},
    {"sucessful", "successful"},         {"supercede", "supersede"},
    {"suprise", "surprise"},             {"tatoo", "tattoo"},
    {"tendancy", "tendency"},            {"threshhold", "threshold"},
    {"tommorow", "tomorrow"},            {"tounge", "tongue"},
    {"truely", "truly"},                 {"unforseen", "unforeseen"},
    {"untill", "until"},                 {"wierd", "weird"},
    {"writting", "writing"},             {"adress", "address"},
    {"amatuer", "amateur"},              {"aparent", "apparent"},
    {"becuase", "because"},              {"bouy", "buoy"},
    {"cauhgt", "caught"},                {"comittee", "committee"},
    {"concensus", "consensus"},          {"consciencious", "conscientious"},
    {"decieve", "deceive"},              {"desparate", "desperate"},
    {"diffrence", "difference"},         {"dissappoint", "disappoint"},
    {"equiptment", "equipment"},         {"excercise", "exercise"},
    {"experiance", "experience"},        {"extreem", "extreme"},
    {"facinating", "fascinating"},       {"firey", "fiery"},
    {"flourescent", "fluorescent"},      {"forteen", "fourteen"},
    {"greatful", "grateful"},            {"grammer", "grammar"},
    {"guage", "gauge"},                  {"hieght", "height"},
    {"heirarchy", "hierarchy"},          {"hygene", "hygiene"},
    {"hipocrit", "hypocrite"},           {"ignorence", "ignorance"},
    {"imaginery", "imaginary"},          {"immitate", "imitate"},
    {"innoculate", "inoculate"},         {"inteligence", "intelligence"},
    {"jewelery", "jewelry"},             {"jist", "gist"},
    {"leisurly", "leisurely"},           {"lenght", "length"},
    {"liesure", "leisure"},              {"lollypop", "lollipop"},
    {"marrage", "marriage"},             {"medeval", "medieval"},
    {"mysterous", "mysterious"},         {"naturaly", "naturally"},
    {"nieghbor", "neighbor"},            {"ninty", "ninety"},
    {"nuisanse", "nuisance"},            {"obediance", "obedience"},
    {"ommision", "omission"},            {"oppurtunity", "opportunity"},
    {"orignal", "original"},             {"paralel", "parallel"},
    {"particulary", "particularly"},     {"pasttime", "pastime"},
    {"peice", "piece"},                  {"percieve", "perceive"},
    {"phenomenom", "phenomenon"},        {"posible", "possible"},
    {"potatos", "potatoes"},             {"presance", "presence"},
    {"privelege", "privilege"},          {"probaly", "probably"},
    {"professer", "professor"},          {"pronounciation", "pronunciation"},
    {"questionaire", "questionnaire"},   {"reciept", "receipt"},
    {"recomend", "recommend"},           {"refrence", "reference"},
    {"restaraunt", "restaurant"},        {"rediculous", "ridiculous"},
    {"scedule", "schedule"},             {"secratary", "secretary"},
    {"sentance", "sentence"},            {"shedule", "schedule"},
    {"strenght", "strength"},            {"succesful", "successful"},
    {"temperture", "temperature"},       {"tommorrow", "tomorrow"},
    {"tradgedy", "tragedy"},             {"twelth", "twelfth"},
    {"tyrany", "tyranny"},               {"vaccuum", "vacuum"},
    {"vegtable", "vegetable"},           {"vehical", "vehicle"},
    {"visable", "visible"},              {"wendsday", "wednesday"},
    {"wholy", "wholly"},                 {"yeild", "yield"},
    {"thier", "their"},                  {"cieling", "ceiling"},
    {"neice", "niece"},                  {"seige", "siege"},
    {"withold", "withhold"},             {"aquire", "acquire"},
    {"fone", "phone"},                   {"nife", "knife"},
    {"rong", "wrong"},                   {"sircle", "circle"},
    {"sychology", "psychology"},         {"fisics", "physics"},
};
// clang-format on

} // namespace

class TestCloseWords : public QObject
{
    Q_OBJECT

private slots:
    void editsAndBound_data();
    void editsAndBound();
    void rankingBreaksTies_data();
    void rankingBreaksTies();
    void rankingFile();
    void rankingFileCaps_data();
    void rankingFileCaps();
    void otherInitialSpellings_data();
    void otherInitialSpellings();
    void engineOffers_data();
    void engineOffers();
    void commonMisspellings();
};

void TestCloseWords::editsAndBound_data()
{
    QTest::addColumn<QList<QByteArray>>("headwords");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QByteArray>>("offered");

    const QList<QByteArray> word{"abcdef"};
    QTest::newRow("two changes, at the bound") << word << QByteArray("xbcdey") << word;
    QTest::newRow("three changes, one past it")
        << word << QByteArray("xbcxey") << QList<QByteArray>();
    QTest::newRow("two left out, at the bound") << word << QByteArray("abcd") << word;
    QTest::newRow("three left out, one past it")
        << word << QByteArray("abc") << QList<QByteArray>();
    QTest::newRow("two put in, at the bound") << word << QByteArray("abcdefgh") << word;
    QTest::newRow("three put in, one past it")
        << word << QByteArray("abcdefghi") << QList<QByteArray>();
    QTest::newRow("a swap of neighbours and a change: two") << word << QByteArray("bacdey") << word;
    QTest::newRow("two swaps of neighbours: two") << word << QByteArray("bacdfe") << word;
    QTest::newRow("case ignored, the headword as spelt")
        << QList<QByteArray>{"AbcDef"} << QByteArray("ABCDEY") << QList<QByteArray>{"AbcDef"};
    QTest::newRow("four characters: two edits at the bound")
        << QList<QByteArray>{"abcd"} << QByteArray("xbcy") << QList<QByteArray>{"abcd"};
    QTest::newRow("three characters: one edit at the bound")
        << QList<QByteArray>{"abc"} << QByteArray("abx") << QList<QByteArray>{"abc"};
    QTest::newRow("three characters: two edits past it")
        << QList<QByteArray>{"abc"} << QByteArray("axy") << QList<QByteArray>();
    QTest::newRow("fewer edits first, whatever the index order")
        << QList<QByteArray>{"abxxef", "abcdxf"} << QByteArray("abcdef")
        << QList<QByteArray>{"abcdxf", "abxxef"};
    QTest::newRow("the text itself is not offered")
        << QList<QByteArray>{"Abcdef", "abcdex"} << QByteArray("abcdef")
        << QList<QByteArray>{"abcdex"};
    QTest::newRow("spelt alike, offered once")
        << QList<QByteArray>{"Abcdex", "abcdex"} << QByteArray("abcdef")
        << QList<QByteArray>{"Abcdex"};
    const QByteArray longest(64, 'a');
    QTest::newRow("a text of 64 characters, the longest sought")
        << QList<QByteArray>{longest + 'b'} << longest << QList<QByteArray>{longest + 'b'};
    QTest::newRow("a text of 65: none")
        << QList<QByteArray>{longest + "bb"} << longest + 'a' << QList<QByteArray>();
    QTest::newRow("very long lines before it hide nothing")
        << QList<QByteArray>{QByteArray(300, 'x'), QByteArray(128, 'y'), "abcdex"}
        << QByteArray("abcdef") << QList<QByteArray>{"abcdex"};
    QTest::newRow("three at most")
        << QList<QByteArray>{"abcdea", "abcdeb", "abcdec", "abcded"} << QByteArray("abcdef")
        << QList<QByteArray>{"abcdea", "abcdeb", "abcdec"};
}

void TestCloseWords::editsAndBound()
{
    QFETCH(QList<QByteArray>, headwords);
    QFETCH(QByteArray, text);
    QFETCH(QList<QByteArray>, offered);

    QCOMPARE(closeWords(indexOf(headwords), text), offered);
}

void TestCloseWords::rankingBreaksTies_data()
{
    QTest::addColumn<QList<QByteArray>>("ranking");
    QTest::addColumn<QList<QByteArray>>("offered");

    // Every headword one change from "burd", the one "bird" two.
    QTest::newRow("no ranking: the index order")
        << QList<QByteArray>{} << QList<QByteArray>{"bard", "bird", "bord"};
    QTest::newRow("the more used first, in any case")
        << QList<QByteArray>{"BORD", "Bard", "bird"} << QList<QByteArray>{"bord", "bard", "bird"};
    QTest::newRow("ranked before unranked")
        << QList<QByteArray>{"bord"} << QList<QByteArray>{"bord", "bard", "bird"};
    QTest::newRow("fewer edits before more use")
        << QList<QByteArray>{"bxrdy", "bird"} << QList<QByteArray>{"bird", "bard", "bord"};
}

void TestCloseWords::rankingBreaksTies()
{
    QFETCH(QList<QByteArray>, ranking);
    QFETCH(QList<QByteArray>, offered);

    const IndexText index = indexOf({"bard", "bird", "bord", "bxrdy"});
    QCOMPARE(closeWords(index, "burd", UsageRanking(ranking)), offered);
}

void TestCloseWords::rankingFile()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(u"usage.dll"_qs));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Send\r\nsand\r\n\r\nSEND\r\nsind");
    file.close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    const UsageRanking ranking = UsageRanking::read(file);
    QCOMPARE(ranking.placeOf("send"), 0);
    QCOMPARE(ranking.placeOf("sand"), 1);
    QCOMPARE(ranking.placeOf("sind"), 2);
    QCOMPARE(ranking.placeOf("Send"), UsageRanking::kUnranked); // folded lookups only
    QCOMPARE(ranking.size(), 3);
}

void TestCloseWords::rankingFileCaps_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<int>("place");

    constexpr platform::FileCap cap = platform::caps::kUsageRanking;
    const QByteArray emptyLines(cap.lines - 1, '\n');
    QTest::newRow("the last line read") << emptyLines + "last\npast\n" << QByteArray("last") << 0;
    QTest::newRow("the line after it") << emptyLines + "last\npast\n"
                                       << QByteArray("past") << UsageRanking::kUnranked;
    const QByteArray atCap(cap.line, 'a');
    QTest::newRow("a line as long as the line cap") << "b\r\n" + atCap << atCap << 1;
    QTest::newRow("a line one longer")
        << "b\r\n" + atCap + 'a' << atCap + 'a' << UsageRanking::kUnranked;
}

void TestCloseWords::rankingFileCaps()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, word);
    QFETCH(int, place);

    QTemporaryDir dir;
    QFile file(dir.filePath(u"usage.dll"_qs));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(UsageRanking::read(file).placeOf(word), place);
}

void TestCloseWords::otherInitialSpellings_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("spelling"); // one of them; empty: none at all

    QTest::newRow("f for ph") << QByteArray("Fone") << QByteArray("phone");
    QTest::newRow("n for kn") << QByteArray("nife") << QByteArray("knife");
    QTest::newRow("kw for qu") << QByteArray("kwiet") << QByteArray("quiet");
    QTest::newRow("the initial alone has none") << QByteArray("f") << QByteArray();
    QTest::newRow("a digit has none") << QByteArray("1one") << QByteArray();
}

void TestCloseWords::otherInitialSpellings()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, spelling);

    const QList<QByteArray> spellings = lookup::otherInitialSpellings(text);
    if (spelling.isEmpty())
        QVERIFY2(spellings.isEmpty(), spellings.join(' ').constData());
    else
        QVERIFY2(spellings.contains(spelling), spellings.join(' ').constData());
}

void TestCloseWords::engineOffers_data()
{
    QTest::addColumn<bool>("ranked");
    QTest::addColumn<bool>("idioms");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QByteArray>>("offered");

    QTest::newRow("matched: none") << true << false << QByteArray("Sen") << QList<QByteArray>();
    QTest::newRow("ranked by the set's usage file")
        << true << false << QByteArray("sond") << QList<QByteArray>{"Send", "Sand", "Sind"};
    QTest::newRow("a set without the file: the index order")
        << false << false << QByteArray("sond") << QList<QByteArray>{"Sand", "Send", "Sind"};
    QTest::newRow("another initial's spelling counts one edit")
        << true << false << QByteArray("fone") << QList<QByteArray>{"Phone", "Fine", "Fane"};
    // "pnife" is two edits from Pine, and the spelling one more: past the bound of two for
    // the typed text, yet offered, after Knife.
    QTest::newRow("the spelling counts in the order, not against the bound")
        << true << false << QByteArray("nife") << QList<QByteArray>{"Knife", "Pine"};
    QTest::newRow("an initial without an index: none")
        << true << false << QByteArray("1ond") << QList<QByteArray>();
    QTest::newRow("idioms mode: none") << true << true << QByteArray("sond") << QList<QByteArray>();
}

void TestCloseWords::engineOffers()
{
    QFETCH(bool, ranked);
    QFETCH(bool, idioms);
    QFETCH(QByteArray, text);
    QFETCH(QList<QByteArray>, offered);

    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), fixture()), std::nullopt);
    const QString usageFile = store::DataFolder(dir.path()).usageRanking();
    QVERIFY(QFileInfo::exists(usageFile));
    if (!ranked)
        QVERIFY(QFile::remove(usageFile));

    lookup::Engine engine(dir.path());
    if (idioms)
        engine.enterIdioms();
    lookup::SearchView view;
    for (qsizetype i = 1; i <= text.size(); ++i)
        view = engine.textChanged(text.first(i));
    QCOMPARE(view.closeWords, offered);
}

void TestCloseWords::commonMisspellings()
{
    const QString folder = QCoreApplication::applicationDirPath();
    if (!QFileInfo::exists(*store::DataFolder(folder).letterIndex("s")))
        QSKIP("no sample dictionary in the program folder (target sample-data)");

    lookup::Engine engine(folder);
    int counted = 0;
    int answered = 0;
    int found = 0;
    QStringList missed;
    for (const Misspelling &row : kMisspellings) {
        const QByteArray meant = IndexText::fold(row.meant);
        // The word meant must be a headword of the set: the box finds it when typed whole,
        // as its own line of the index, not the beginning of a longer one.
        const lookup::SearchView exact = engine.textChanged(meant);
        if (!exact.matched || !exact.caption ||
            IndexText::fold(exact.caption->mid(2)).split('\r').first().split('\n').first() != meant)
            continue;
        // A misspelling that begins a headword is found as it is typed: no close words are
        // offered for it, and it does not count.
        const lookup::SearchView view = engine.textChanged(row.typed);
        if (view.matched) {
            ++found;
            continue;
        }
        ++counted;
        QList<QByteArray> offered;
        for (const QByteArray &word : view.closeWords)
            offered << IndexText::fold(word);
        if (offered.contains(meant))
            ++answered;
        else
            missed << QStringLiteral("%1 -> %2 (offered: %3)")
                          .arg(QString::fromLatin1(row.typed), QString::fromLatin1(row.meant),
                               QString::fromLatin1(view.closeWords.join(", ")));
    }
    qInfo("%d misspellings of %zu counted (the word meant is a headword, the misspelling "
          "begins none: %d do); the word meant among the first three for %d, %.1f %%",
          counted, std::size(kMisspellings), found, answered,
          counted ? 100.0 * answered / counted : 0.0);
    for (const QString &miss : missed)
        qInfo("  missed: %s", qPrintable(miss));
    QVERIFY(counted >= 100);
    QVERIFY2(answered * 10 >= counted * 9,
             qPrintable(QStringLiteral("%1 of %2").arg(answered).arg(counted)));
}

QTEST_GUILESS_MAIN(TestCloseWords)
#include "tst_closewords.moc"
