#pragma once
// Vorkle's command line: what a start asks for, read with Qt's own parser
// so that --help and --version look like every other Qt program's.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

class CommandLine {
  public:
    CommandLine();

    // Whether the arguments ask only for text (help, version): such a start
    // needs no display and opens no window.
    static bool asksForTextOnly(const QStringList &arguments);

    QCommandLineParser parser;
    // Start in the tray where there is one, else shown as usual.
    const QCommandLineOption minimized;
    // Start a process of its own even when Vorkle already runs.
    const QCommandLineOption newInstance;
};
