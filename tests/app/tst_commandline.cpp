// vorkle and vorkle-devserver answer --help and --version in a terminal,
// and their manual pages describe every option --help lists.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
};

// Runs a program without any display, as from a text console.
Run run(const QString &program, const QStringList &arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    return result;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

  private slots:
    void textOnly_data();
    void textOnly();
    void manPageListsEveryOption_data();
    void manPageListsEveryOption();
};

void TestCommandLine::textOnly_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QStringList>("expected");
    const QString vorkle = QStringLiteral(VORKLE_BIN), server = QStringLiteral(DEVSERVER_BIN);
    QTest::newRow("vorkle --help")
        << vorkle << "--help"
        << QStringList{"Usage: ", "--minimized", "--new-instance", "--version"};
    QTest::newRow("vorkle -h") << vorkle << "-h" << QStringList{"--minimized"};
    QTest::newRow("vorkle --version") << vorkle << "--version" << QStringList{"Vorkle 2.0.2\n"};
    QTest::newRow("server --help") << server << "--help" << QStringList{"--listen <HOST:PORT>"};
    QTest::newRow("server --version")
        << server << "--version" << QStringList{"vorkle-devserver 2.0.2\n"};
}

void TestCommandLine::textOnly() {
    QFETCH(QString, program);
    QFETCH(QString, argument);
    QFETCH(QStringList, expected);
    const Run r = run(program, {argument});
    QCOMPARE(r.exitCode, 0);
    for (const QString &text : expected)
        QVERIFY2(r.out.contains(text), qPrintable(r.out));
}

void TestCommandLine::manPageListsEveryOption_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("page");
    QTest::newRow("vorkle") << QStringLiteral(VORKLE_BIN) << QStringLiteral("vorkle.1");
    QTest::newRow("vorkle-devserver")
        << QStringLiteral(DEVSERVER_BIN) << QStringLiteral("vorkle-devserver.1");
}

void TestCommandLine::manPageListsEveryOption() {
    QFETCH(QString, program);
    QFETCH(QString, page);
    QFile file(QStringLiteral(MAN_DIR "/") + page);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // roff writes a minus as "\-".
    const QString man = QString::fromUtf8(file.readAll()).replace(QLatin1String("\\-"), "-");
    const Run r = run(program, {QStringLiteral("--help")});
    QCOMPARE(r.exitCode, 0);
    // Each option line starts with its names: "  -h, --help  Displays ...".
    static const QRegularExpression line(QStringLiteral("^  (-[^ ,]+(?:, -[^ ,]+)*)"),
                                         QRegularExpression::MultilineOption);
    QStringList options;
    for (auto it = line.globalMatch(r.out); it.hasNext();)
        options += it.next().captured(1).split(QStringLiteral(", "));
    QVERIFY(options.size() >= 5);
    for (const QString &option : options) {
        // The whole option, not the start of a longer one (--help in --help-all).
        const QString whole = QRegularExpression::escape(option) + QStringLiteral("(?![-a-z])");
        QVERIFY2(man.contains(QRegularExpression(whole)), qPrintable(option));
    }
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
