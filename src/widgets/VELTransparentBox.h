#pragma once

#include <QFrame>

// A box that draws nothing at all (no border, no title, no background) and only holds its
// child widgets, which paint themselves as usual. Main thread only.
class VELTransparentBox : public QFrame {
    Q_OBJECT

public:
    explicit VELTransparentBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
