#pragma once
// The credits panel `PicCredits`: the picture, the version and the people
// thanked, and "Close Tab".

#include <QWidget>

class AnimatedPicture;
class ClickLabel;

class CreditsPanel : public QWidget {
    Q_OBJECT

  public:
    // Placed in twips in the window, under the tab strip.
    explicit CreditsPanel(QWidget *window);

    ClickLabel *Label16 = nullptr; // "Close Tab"

  signals:
    void closeRequested();

  protected:
    void showEvent(QShowEvent *event) override;

  private:
    AnimatedPicture *m_picture = nullptr;
};
