#include "startup.h"

#include "qt_text.h"

#include "about/about_form.h"
#include "about/appearance.h"
#include "common/errors.h"
#include "common/messages.h"

#include <QApplication>
#include <QStyleFactory>

namespace app {

void initialiseApplication(QApplication& application) {
    // The title names the application; it is not set as display name, which Qt would append to
    // every window caption.
    QApplication::setApplicationName(toQString(messages::kAppTitle));
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
    }
    QApplication::setFont(about::windowFont());
    application.setQuitOnLastWindowClosed(true);
}

Program::Program(std::unique_ptr<TMainForm> mainForm, std::unique_ptr<catalogue::TDM> dm)
    : m_dm(std::move(dm)), m_mainForm(std::move(mainForm)) {}

Program::~Program() = default;

std::unique_ptr<Program> startProgram(Dialogs& dialogs, const std::string& cataloguePath) {
    auto mainForm = std::make_unique<TMainForm>(dialogs);
    std::unique_ptr<catalogue::TDM> dm;
    try {
        dm = std::make_unique<catalogue::TDM>(cataloguePath);
    } catch (const std::exception& error) {
        dialogs.generalError(error.what());
        return nullptr;
    }
    mainForm->setDataModule(*dm);
    // The dialog belongs to the main window and goes with it.
    mainForm->setAboutForm(new about::TAboutForm(mainForm.get()));
    return std::make_unique<Program>(std::move(mainForm), std::move(dm));
}

} // namespace app
