// Our pictures at the scale they are shown: the size a widget laid out in
// twips expects, in real pixels drawn at least that fine, never a 1x
// picture enlarged. CMake runs this once per screen setting and says in
// VORKLE_EXPECT_SCALE which scale that setting must give a widget.
#include "uikit/pictures.h"
#include "uikit/resources.h"
#include "uikit/twips.h"

#include <QImageReader>
#include <QLabel>
#include <QTest>

namespace {

QImage frame(const QString &file, int index) {
    QImageReader reader(file);
    QImage image;
    for (int i = 0; i <= index; ++i)
        image = reader.read();
    return image;
}

// Mean difference of two images of one size, per channel, 0 to 255.
double difference(const QImage &a, const QImage &b) {
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    qint64 sum = 0;
    for (qsizetype i = 0; i < x.sizeInBytes(); ++i)
        sum += qAbs(int(x.constBits()[i]) - int(y.constBits()[i]));
    return double(sum) / double(x.sizeInBytes());
}

QImage resized(QImage image, QSize size) {
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1.0);
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { initVorkleResources(); }
    void drawnAtScale_data();
    void drawnAtScale();
    void shownOnAWidget();
};

void TestPictures::drawnAtScale_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("dpiScale");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("shown"); // device-independent
    QTest::newRow("logo 1x") << "logo-first.png" << 1.0 << 1.0 << QSize(128, 120);
    QTest::newRow("logo ratio 1.5") << "logo-first.png" << 1.0 << 1.5 << QSize(128, 120);
    QTest::newRow("logo 192 dpi") << "logo-first.png" << 2.0 << 1.0 << QSize(256, 240);
    QTest::newRow("logo 120 dpi") << "logo-first.png" << 1.25 << 1.0 << QSize(160, 150);
    QTest::newRow("logo 72 dpi ratio 2") << "logo-first.png" << 0.75 << 2.0 << QSize(96, 90);
    QTest::newRow("buddy ratio 2") << "buddy-online.png" << 1.0 << 2.0 << QSize(16, 16);
    QTest::newRow("buddy 144 dpi") << "buddy-mobile.png" << 1.5 << 1.0 << QSize(24, 24);
    QTest::newRow("logo frames ratio 1.5") << "logo.gif" << 1.0 << 1.5 << QSize(128, 120);
    QTest::newRow("logo frames 192 dpi") << "logo.gif" << 2.0 << 1.0 << QSize(256, 240);
    QTest::newRow("alert frames ratio 2") << "alert.gif" << 1.0 << 2.0 << QSize(9, 25);
    QTest::newRow("alert frames 144 dpi") << "alert.gif" << 1.5 << 1.0 << QSize(14, 38);
}

void TestPictures::drawnAtScale() {
    QFETCH(QString, name);
    QFETCH(qreal, dpiScale);
    QFETCH(qreal, ratio);
    QFETCH(QSize, shown);
    const QString path = QStringLiteral(":/vorkle/") + name;
    const QString twoX = QString(path).replace(QLatin1Char('.'), QStringLiteral("@2x."));
    QList<QImage> images;
    if (name.endsWith(QLatin1String(".gif"))) {
        // Every drawing is the same animation: frames, timing and loops.
        const pictures::Animation a = pictures::animation(path, dpiScale, ratio);
        const pictures::Animation one = pictures::animation(path, 1.0, 1.0);
        QVERIFY(one.frames.size() > 1);
        QCOMPARE(a.frames.size(), one.frames.size());
        QCOMPARE(a.loopCount, one.loopCount);
        for (qsizetype i = 0; i < a.frames.size(); ++i) {
            QCOMPARE(a.frames[i].delayMs, one.frames[i].delayMs);
            images << a.frames[i].image;
        }
    } else {
        images << pictures::pixmap(path, dpiScale, ratio).toImage()
               << pictures::icon(path).pixmap(shown, ratio).toImage();
    }
    const QSize base = frame(path, 0).size();
    for (int i = 0; i < images.size(); ++i) {
        const QImage &image = images[i];
        const int at = name.endsWith(QLatin1String(".gif")) ? i : 0;
        QCOMPARE(image.devicePixelRatio(), ratio);
        QCOMPARE(image.deviceIndependentSize().toSize(), shown);
        QVERIFY(image.width() >= int(base.width() * dpiScale * ratio));
        QVERIFY(image.height() >= int(base.height() * dpiScale * ratio));
        const double fromTwoX = difference(image, resized(frame(twoX, at), image.size()));
        const double fromOneX = difference(image, resized(frame(path, at), image.size()));
        if (dpiScale * ratio == 1.0) {
            QCOMPARE(fromOneX, 0.0); // the 1x drawing itself
            continue;
        }
        // Clearly closer to the 2x drawing than to the 1x one enlarged.
        QVERIFY2(fromTwoX * 1.5 < fromOneX,
                 qPrintable(QString::asprintf("frame %d: %.2f from 2x, %.2f from 1x enlarged", i,
                                              fromTwoX, fromOneX)));
    }
}

void TestPictures::shownOnAWidget() {
    bool ok = false;
    const qreal expected =
        qEnvironmentVariable("VORKLE_EXPECT_SCALE", QStringLiteral("1")).toDouble(&ok);
    QVERIFY(ok);
    QLabel label;
    label.setGeometry(twips::rect(3960, 840, 1920, 1800)); // as the settings logo sits
    QCOMPARE(pictures::scale(&label), expected);
    const QPixmap logo = pictures::pixmap(QStringLiteral(":/vorkle/logo-first.png"), &label);
    QCOMPARE(logo.deviceIndependentSize().toSize(), label.size());
    QCOMPARE(logo.width(), qRound(128 * expected));
    // On the screen each pixel of the picture is one pixel: nothing blurs it.
    label.setPixmap(logo);
    const QImage shot = label.grab().toImage();
    QCOMPARE(shot.size(), logo.size());
    QCOMPARE(difference(shot, logo.toImage()), 0.0);
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
