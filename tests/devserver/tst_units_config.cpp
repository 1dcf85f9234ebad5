// Buddy configuration rules, configuration lines and the SQLite store.
#include "tst_units.h"

#include "devserver/buddyconfig.h"
#include "devserver/serverlines.h"
#include "devserver/store.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QTest>

using namespace devserver;

void TestUnits::privacy_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("stranger");
    QTest::addColumn<bool>("permitted");
    QTest::addColumn<bool>("denied");
    QTest::addColumn<bool>("buddy");

    QTest::newRow("0 never set: allow all") << 0 << true << true << true << true;
    QTest::newRow("1 allow all") << 1 << true << true << true << true;
    QTest::newRow("2 block all") << 2 << false << false << false << false;
    QTest::newRow("3 permit list") << 3 << false << true << false << false;
    QTest::newRow("4 deny list") << 4 << true << true << false << true;
    QTest::newRow("5 buddies") << 5 << false << false << false << true;
}

void TestUnits::privacy() {
    QFETCH(int, mode);
    BuddyConfig c;
    c.pdmode = mode;
    c.addGroup(QStringLiteral("Buddies"));
    c.addBuddy(QStringLiteral("Buddies"), QStringLiteral("Bud Dy"), QString());
    c.addListed(&c.permit, QStringLiteral("permitted"));
    c.addListed(&c.deny, QStringLiteral("denied"));
    QTEST(c.allows(QStringLiteral("stranger")), "stranger");
    QTEST(c.allows(QStringLiteral("permitted")), "permitted");
    QTEST(c.allows(QStringLiteral("denied")), "denied");
    QTEST(c.allows(QStringLiteral("buddy")), "buddy");
}

void TestUnits::configEdits() {
    BuddyConfig c;
    QVERIFY(c.addGroup(QStringLiteral("Co Workers")));
    QVERIFY(!c.addGroup(QStringLiteral("coworkers"))); // groups compare normalised
    QVERIFY(!c.addBuddy(QStringLiteral("Nowhere"), QStringLiteral("x"), QString()));
    QVERIFY(
        c.addBuddy(QStringLiteral("coworkers"), QStringLiteral("Jane Doe"), QStringLiteral("JD")));
    QVERIFY(!c.addBuddy(QStringLiteral("Co Workers"), QStringLiteral("janedoe"), QString()));
    QVERIFY(c.hasBuddy(QStringLiteral("janedoe")));
    QCOMPARE(c.buddyNames(), QSet<QString>{QStringLiteral("janedoe")});
    QVERIFY(!c.removeBuddy(QStringLiteral("Co Workers"), QStringLiteral("nobody")));
    QVERIFY(c.removeBuddy(QStringLiteral("Co Workers"), QStringLiteral("JANE DOE")));
    QVERIFY(!c.hasBuddy(QStringLiteral("janedoe")));
    QVERIFY(c.removeGroup(QStringLiteral("CO WORKERS")));
    QVERIFY(c.groups.isEmpty());

    // Limits keep a configuration bounded.
    for (int i = 0; i < BuddyConfig::kMaxGroups; ++i)
        QVERIFY(c.addGroup(QStringLiteral("g%1").arg(i)));
    QVERIFY(!c.addGroup(QStringLiteral("one more")));
    for (int i = 0; i < BuddyConfig::kMaxBuddies; ++i)
        QVERIFY(c.addBuddy(QStringLiteral("g0"), QStringLiteral("b%1").arg(i), QString()));
    QVERIFY(!c.addBuddy(QStringLiteral("g1"), QStringLiteral("extra"), QString()));
}

void TestUnits::configRecords() {
    // The mode and the lists come first, buddies as the server keeps their
    // names; no m: record until a mode was set.
    BuddyConfig c;
    c.addGroup(QStringLiteral("Buddies"));
    c.addBuddy(QStringLiteral("Buddies"), QStringLiteral("alice"), QString());
    QCOMPARE(c.records(), (QStringList{"g:Buddies\n", "b:alice\n"}));
    c.pdmode = 4;
    c.addBuddy(QStringLiteral("Buddies"), QStringLiteral("Bob Smith"), QStringLiteral("Bobby"));
    c.addBuddy(QStringLiteral("Buddies"), QStringLiteral("erin"), QString(),
               QStringLiteral("a: note"));
    c.addGroup(QStringLiteral("Empty"));
    c.addListed(&c.deny, QStringLiteral("eve"));
    c.addListed(&c.permit, QStringLiteral("dave"));
    QCOMPARE(c.records(),
             (QStringList{"m:4\n", "d:eve\n", "p:dave\n", "g:Buddies\n", "b:alice\n",
                          "b:bobsmith:Bobby\n", "b:erin::::::a: note\n", "g:Empty\n"}));
}

void TestUnits::config2Split() {
    QCOMPARE(config2Lines({"g:Buddies\n", "b:vorklebot\n", "m:1\n"}),
             QStringList{"CONFIG2:g:Buddies\nb:vorklebot\nm:1\ndone:\n"});
    QCOMPARE(config2Lines({}), QStringList{"CONFIG2:done:\n"});

    // A full list of buddies is still one line.
    QStringList full;
    for (int i = 0; i < BuddyConfig::kMaxBuddies; ++i)
        full.append(QStringLiteral("b:buddy%1:Alias number %1\n").arg(i));
    QCOMPARE(config2Lines(full).size(), 1);

    // Past the size of a frame, the records are spread over lines within it;
    // only the last one carries the end marker, and nothing is lost or reordered.
    QStringList records;
    for (int i = 0; i < 500; ++i)
        records.append(QStringLiteral("b:buddy%1:Alias number %1\n").arg(i));
    const QStringList lines = config2Lines(records, 1000);
    QVERIFY(lines.size() > 1);
    QString joined;
    for (int i = 0; i < lines.size(); ++i) {
        QVERIFY(lines[i].toUtf8().size() <= 1000);
        QVERIFY(lines[i].startsWith(QLatin1String("CONFIG2:")));
        QCOMPARE(lines[i].contains(QLatin1String("done:\n")), i == lines.size() - 1);
        joined += lines[i].mid(8);
    }
    QCOMPARE(joined, records.join(QString()) + QStringLiteral("done:\n"));
}

namespace {

PasswordHash saltedSha256(const QByteArray &password) {
    const QByteArray salt = "0123456789abcdef";
    return PasswordHash{PasswordHash::Scheme::SaltedSha256, 1, salt,
                        QCryptographicHash::hash(salt + password, QCryptographicHash::Sha256)};
}

} // namespace

void TestUnits::passwordCheck_data() {
    QTest::addColumn<std::optional<PasswordHash>>("stored");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("iterations"); // for new records
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("replaced");

    const std::optional<PasswordHash> none;
    const PasswordHash legacy = saltedSha256("pw");
    const PasswordHash current = PasswordHash::derive("pw", 1000);
    PasswordHash unknown = legacy;
    unknown.scheme = PasswordHash::Scheme::Unknown;

    QTest::newRow("new account") << none << QByteArray("pw") << 1000 << true << true;
    QTest::newRow("salted SHA-256, right: upgraded")
        << std::optional(legacy) << QByteArray("pw") << 1000 << true << true;
    QTest::newRow("salted SHA-256, wrong")
        << std::optional(legacy) << QByteArray("px") << 1000 << false << false;
    QTest::newRow("PBKDF2, right")
        << std::optional(current) << QByteArray("pw") << 1000 << true << false;
    QTest::newRow("PBKDF2, wrong")
        << std::optional(current) << QByteArray("pw ") << 1000 << false << false;
    QTest::newRow("PBKDF2, fewer rounds than now: upgraded")
        << std::optional(current) << QByteArray("pw") << 2000 << true << true;
    QTest::newRow("PBKDF2, more rounds than now: checked with its own")
        << std::optional(current) << QByteArray("pw") << 500 << true << false;
    QTest::newRow("unknown scheme")
        << std::optional(unknown) << QByteArray("pw") << 1000 << false << false;
}

void TestUnits::passwordCheck() {
    QFETCH(std::optional<PasswordHash>, stored);
    QFETCH(QByteArray, password);
    QFETCH(int, iterations);
    QFETCH(bool, accepted);
    QFETCH(bool, replaced);

    const PasswordCheck check = checkPassword(stored, password, iterations);
    QCOMPARE(check.accepted, accepted);
    QCOMPARE(check.replacement.has_value(), replaced);
    if (replaced) {
        const PasswordHash &r = *check.replacement;
        QCOMPARE(r.scheme, PasswordHash::Scheme::Pbkdf2Sha256);
        QCOMPARE(r.iterations, iterations);
        QCOMPARE(r.salt.size(), 16);
        QVERIFY(!stored || r.salt != stored->salt);
        QVERIFY(r.matches(password));
        QVERIFY(!r.matches(password + 'x'));
    }
}

void TestUnits::store() {
    Store s;
    QVERIFY2(s.isOpen(), qPrintable(s.lastError()));
    QVERIFY(!s.account(QStringLiteral("alice")));
    BuddyConfig c;
    c.addGroup(QStringLiteral("Buddies"));
    c.addBuddy(QStringLiteral("Buddies"), QStringLiteral("Bob"), QString());
    const PasswordHash pw = PasswordHash::derive("pw", 1000);
    QVERIFY2(s.createAccount(QStringLiteral("alice"), pw, c, "icon"), qPrintable(s.lastError()));
    QVERIFY(!s.createAccount(QStringLiteral("alice"), PasswordHash::derive("other", 1000),
                             BuddyConfig(), QByteArray()));
    QVERIFY(s.passwordHash(QStringLiteral("alice")) == pw); // scheme, count, salt and key
    QVERIFY(s.checkPassword(QStringLiteral("alice"), "pw"));
    QVERIFY(!s.checkPassword(QStringLiteral("alice"), "other"));
    QVERIFY(!s.checkPassword(QStringLiteral("nobody"), "pw"));
    // Replaced only while the record is still the one that was checked.
    const PasswordHash now = PasswordHash::derive("new", 1000);
    QVERIFY(!s.replacePassword(QStringLiteral("alice"), saltedSha256("pw"), now));
    QVERIFY(s.replacePassword(QStringLiteral("alice"), pw, now));
    QVERIFY(s.checkPassword(QStringLiteral("alice"), "new"));
    QVERIFY(!s.checkPassword(QStringLiteral("alice"), "pw"));
    QCOMPARE(s.icon(QStringLiteral("alice")), QByteArray("icon"));
    QVERIFY(s.setProfile(QStringLiteral("alice"), QString())); // a null text is stored as empty
    QCOMPARE(s.profile(QStringLiteral("alice")), QString());
    QVERIFY(!s.setWarning(QStringLiteral("nobody"), 5));
}

void TestUnits::storeKeepsDataAcrossRestart() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("dev.sqlite"));
    BuddyConfig c;
    c.pdmode = 3;
    c.addGroup(QStringLiteral("Work Mates"));
    c.addBuddy(QStringLiteral("Work Mates"), QStringLiteral("Jane Doe"), QStringLiteral("JD"));
    c.addBuddy(QStringLiteral("Work Mates"), QStringLiteral("bob"), QString(),
               QStringLiteral("met: at work"));
    c.addGroup(QStringLiteral("Empty"));
    c.addListed(&c.permit, QStringLiteral("dave"));
    c.addListed(&c.deny, QStringLiteral("eve"));
    {
        Store s(path);
        QVERIFY(s.createAccount(QStringLiteral("alice"), PasswordHash::derive("pw", 1000),
                                BuddyConfig(), QByteArray()));
        QVERIFY(s.saveConfig(QStringLiteral("alice"), c));
        QVERIFY(s.setWarning(QStringLiteral("alice"), 30));
        QVERIFY(s.setFormatted(QStringLiteral("alice"), QStringLiteral("A Lice")));
        QVERIFY(s.setProfile(QStringLiteral("alice"), QStringLiteral("<b>me</b>")));
    }
    Store s(path);
    const std::optional<Account> a = s.account(QStringLiteral("alice"));
    QVERIFY(a);
    QCOMPARE(a->formatted, QStringLiteral("A Lice"));
    QCOMPARE(a->warning, 30);
    QVERIFY(s.checkPassword(QStringLiteral("alice"), "pw"));
    QCOMPARE(s.profile(QStringLiteral("alice")), QStringLiteral("<b>me</b>"));
    const BuddyConfig loaded = s.loadConfig(QStringLiteral("alice"));
    QCOMPARE(loaded.records(), c.records());
}
