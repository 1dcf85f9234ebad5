// The soak's client: the real window taking bursts of numbered IMs, and a
// person between the bursts who reads, closes and switches conversations.
#include "e2e_bench_child.h"
#include "e2e_bench_childkit.h"

#include "mainwindow/frmmain.h"
#include "protocol/qeltocsock.h"
#include "views/ctlim.h"

#include <QApplication>
#include <QPushButton>
#include <QTabBar>
#include <array>

namespace e2ebench {
namespace {

constexpr int kSoakTimeoutMs = 4 * 3600 * 1000;

class SoakClient {
  public:
    SoakClient(frmMain &w, int bursts) : m_w(w), m_bursts(bursts) { m_next.fill(0); }

    void ready() {
        m_burstStartCpu = cpuMs();
        say("READY");
    }

    void countIm() {
        if (++m_count % kSoakBurstIms == 0)
            QTimer::singleShot(0, QCoreApplication::instance(), [this] { burstDone(); });
    }

  private:
    void burstDone() {
        // What the burst left pending (layout, paint) belongs to it.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        const double cpu = cpuMs() - m_burstStartCpu;
        const long long rss = selfKiB("VmRSS");
        const int burst = m_count / kSoakBurstIms - 1;
        if (burst + 1 == m_bursts) {
            finish();
            say("BURST " + QByteArray::number(burst) + ' ' + QByteArray::number(rss) + ' ' +
                QByteArray::number(cpu, 'f', 1));
            say("END " + QByteArray::number(m_problems) + ' ' + m_firstProblem.toUtf8());
            QCoreApplication::exit(0);
            return;
        }
        actAsAPerson(burst);
        m_burstStartCpu = cpuMs();
        say("BURST " + QByteArray::number(burst) + ' ' + QByteArray::number(rss) + ' ' +
            QByteArray::number(cpu, 'f', 1));
    }

    // Brings a conversation to the screen, or every tenth time the settings
    // page, and closes a fifth of the others (a different fifth each time).
    // The pattern repeats every ten bursts: the first and the last 100,000
    // IMs see the same work.
    void actAsAPerson(int burst) {
        const int shown = burst % 10 == 9 ? -1 : burst % 10 * 5 + 2;
        for (ctlIM *view : openViews()) {
            const int partner = partnerOf(view);
            if (partner != shown && (partner + burst) % 5 == 0) {
                check(view);
                view->findChild<QPushButton *>(QStringLiteral("Command4"))->click();
            }
        }
        const QString caption = QStringLiteral("partner%1").arg(shown, 2, 10, QLatin1Char('0'));
        int index = 0;
        for (int i = 0; i < m_w.Tab1->count(); ++i)
            if (shown >= 0 && m_w.tabCaption(i) == caption)
                index = i;
        m_w.Tab1->setCurrentIndex(index);
    }

    // Every transcript left, then every partner's count.
    void finish() {
        for (ctlIM *view : openViews())
            check(view);
        const int perPartner = m_bursts * kSoakImsPerPartnerAndBurst;
        for (int p = 0; p < kSoakPartners; ++p)
            if (m_next[p] != perPartner)
                problem(QStringLiteral("partner%1: %2 of %3 IMs seen")
                            .arg(p)
                            .arg(m_next[p])
                            .arg(perPartner));
    }

    // The partner's IMs go on from where its last transcript ended, one
    // number after the other: none lost, none twice.
    void check(ctlIM *view) {
        const int partner = partnerOf(view);
        forEachPartnerLine(view, [&](const QString &line) {
            const qsizetype at = line.indexOf(QLatin1String("Soak "));
            const int seq = at < 0 ? -1 : line.mid(at + 5, 7).toInt();
            if (seq != m_next[partner])
                problem(QStringLiteral("%1: IM %2 where %3 was due")
                            .arg(view->IMUser)
                            .arg(seq)
                            .arg(m_next[partner]));
            m_next[partner] = seq + 1;
        });
    }

    QList<ctlIM *> openViews() const {
        QList<ctlIM *> views;
        for (ctlIM *view : std::as_const(m_w.imViews))
            if (view && partnerOf(view) >= 0)
                views << view;
        return views;
    }

    static int partnerOf(const ctlIM *view) {
        bool ok = false;
        const int p =
            view->IMUser.startsWith(QLatin1String("partner")) ? view->IMUser.mid(7).toInt(&ok) : -1;
        return ok && p < kSoakPartners ? p : -1;
    }

    void problem(const QString &what) {
        if (m_problems++ == 0)
            m_firstProblem = what;
    }

    frmMain &m_w;
    const int m_bursts;
    std::array<int, kSoakPartners> m_next{};
    int m_count = 0;
    double m_burstStartCpu = 0;
    int m_problems = 0;
    QString m_firstProblem;
};

} // namespace

int runSoakClient(int argc, char **argv, int port, int bursts) {
    QApplication app(argc, argv);
    WindowChild child("soak client", kSoakTimeoutMs);
    SoakClient soak(child.window(), bursts);
    // Connected after the window's own handler: counts each IM once routed.
    QObject::connect(child.window().toc, &QelTOCSock::InstantMessage, &app,
                     [&] { soak.countIm(); });
    child.signOn(port, [&] { QTimer::singleShot(300, &app, [&] { soak.ready(); }); });
    return app.exec();
}

} // namespace e2ebench
