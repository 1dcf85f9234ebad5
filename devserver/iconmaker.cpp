#include "devserver/iconmaker.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>

namespace devserver {

QByteArray makeIcon(const QString &normalizedName) {
    constexpr int kCells = 5;
    constexpr int kCell = 8;
    constexpr int kMargin = 4;
    constexpr int kSize = kCells * kCell + 2 * kMargin;

    const QByteArray digest =
        QCryptographicHash::hash(normalizedName.toUtf8(), QCryptographicHash::Sha256);
    const auto byte = [&](int i) { return quint8(digest[i % digest.size()]); };
    const QColor fg =
        QColor::fromHsv(byte(0) * 359 / 255, 150 + byte(1) % 100, 140 + byte(2) % 100);
    const QColor bg(240, 240, 240);

    QImage image(kSize, kSize, QImage::Format_RGB32);
    image.fill(bg);
    for (int row = 0; row < kCells; ++row) {
        for (int col = 0; col < (kCells + 1) / 2; ++col) {
            if (!(byte(3 + row * 3 + col) & 1))
                continue;
            for (int mirror : {col, kCells - 1 - col}) {
                for (int y = 0; y < kCell; ++y) {
                    auto *line =
                        reinterpret_cast<QRgb *>(image.scanLine(kMargin + row * kCell + y));
                    for (int x = 0; x < kCell; ++x)
                        line[kMargin + mirror * kCell + x] = fg.rgb();
                }
            }
        }
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return jpeg;
}

} // namespace devserver
