#pragma once
// Runs a picture's animation only while the picture shows: a movie decodes
// frames whether anyone sees them or not, and a client that sits in the
// tray all day should cost nothing. A hidden panel, another tab, a window
// minimised or hidden to the tray all hide the picture.

#include <QEvent>
#include <QMovie>
#include <QObject>

class PlayWhileShown : public QObject {
  public:
    PlayWhileShown(QMovie *movie, QObject *parent) : QObject(parent), m_movie(movie) {}

  protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Show)
            m_movie->start();
        else if (event->type() == QEvent::Hide)
            m_movie->stop();
        return false;
    }

  private:
    QMovie *m_movie;
};
