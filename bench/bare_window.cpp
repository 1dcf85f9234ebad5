// The start-up baseline of e2e_bench: a bare Qt window program linked
// against Qt Widgets alone; with the argument "text" its window holds one
// line of text in a QLabel (the first text loads the font database).
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(400, 300);
    if (argc > 1 && std::strcmp(argv[1], "text") == 0)
        (new QLabel(QStringLiteral("Hello from a bare window"), &window))->move(10, 10);
    window.show();
    return app.exec();
}
