#pragma once

#include <QObject>

class TestUnits : public QObject {
    Q_OBJECT
  private slots:
    void parseCommand_data();
    void parseCommand();
    void parseCommandBytes();
    void parseHttp_data();
    void parseHttp();
    void floodControl();
    void names_data();
    void names();
    void headProblem_data();
    void headProblem();
    void botReply_data();
    void botReply();

    // tst_units_config.cpp
    void privacy_data();
    void privacy();
    void configEdits();
    void configRecords();
    void config2Split();
    void passwordCheck_data();
    void passwordCheck();
    void store();
    void storeKeepsDataAcrossRestart();
};
