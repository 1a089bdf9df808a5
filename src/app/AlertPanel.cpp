#include "app/AlertPanel.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

AlertPanel::Handler& handler()
{
    static AlertPanel::Handler s_handler;
    return s_handler;
}

AlertPanel::Response showMessageBox(const AlertPanel::Request& request)
{
    QMessageBox box(QApplication::activeWindow());
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(request.title.isEmpty() ? QApplication::applicationDisplayName() : request.title);
    box.setTextFormat(Qt::PlainText);
    box.setText(request.message);
    // Stay above the main window, which floats above normal windows once opened.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    QPushButton* defaultButton = box.addButton(request.defaultButton, QMessageBox::AcceptRole);
    box.setDefaultButton(defaultButton);
    QPushButton* escapeButton = defaultButton;
    if (!request.alternateButton.isEmpty()) {
        QPushButton* alternateButton = box.addButton(request.alternateButton, QMessageBox::RejectRole);
        if (!request.escapeChoosesDefault)
            escapeButton = alternateButton;
    }
    box.setEscapeButton(escapeButton);
    box.exec();
    const auto* clicked = box.clickedButton() ? box.clickedButton() : escapeButton;
    return clicked == defaultButton ? AlertPanel::Response::Default : AlertPanel::Response::Alternate;
}

}

AlertPanel::Response AlertPanel::run(const Request& request)
{
    if (handler())
        return handler()(request);
    return showMessageBox(request);
}

void AlertPanel::setHandler(Handler newHandler)
{
    handler() = std::move(newHandler);
}
