#pragma once

#include <QImage>

// Every picture of the program, drawn from scratch. All come back premultiplied ARGB
// at their final size; pictures without alpha are opaque.
namespace Pictures {

QImage about();
QImage bigWindow3();
QImage blitz();
QImage briefchen();
QImage closer(bool pressed);
QImage mini(bool pressed);
QImage play(bool pressed);
QImage psycho2();
QImage pill(const QString& label);
QImage gumpel();
QImage logoGlow();
QImage harkenerName(bool bright);
// The icon in its searching state at any size: bright name, the figure over it.
QImage searchingIcon(int size);

}
