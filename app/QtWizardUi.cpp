#include "app/QtWizardUi.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "app/GatherIntrInfo.h"
#include "resources/StringTable.h"

namespace tessaly {

namespace {

bool EnvironmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

QtWizardUi::QtWizardUi(int& argc, char** argv, const Platform& platform, bool registryConfigured)
    : argc_(argc),
      argv_(argv),
      platform_(platform),
      registryConfigured_(registryConfigured),
      prompter_(*this) {}

QtWizardUi::~QtWizardUi() = default;

bool QtWizardUi::DisplayAvailable() {
    return EnvironmentSet("DISPLAY") || EnvironmentSet("WAYLAND_DISPLAY") ||
           EnvironmentSet("QT_QPA_PLATFORM");
}

bool QtWizardUi::EnsureApplication() {
    if (app_) {
        return true;
    }
    if (!DisplayAvailable()) {
        return false;
    }
    app_ = std::make_unique<QApplication>(argc_, argv_);
    QApplication::setApplicationName(QString::fromLatin1(
        strings::kAppTitle.data(), static_cast<qsizetype>(strings::kAppTitle.size())));
    return true;
}

void QtWizardUi::RunWizard(WizardModel& model, PageId startPage) {
    if (!EnsureApplication()) {
        couldNotShow_ = true;
        std::cerr << strings::kAppTitle << ": no display to show the wizard on\n";
        return;
    }
    CGatherIntrInfo sheet(model, platform_, prompter_, detector_, startPage, registryConfigured_);
    if (start_ && EnvironmentSet("TESSALY_STARTUP_PROBE")) {
        QTimer::singleShot(0, &sheet, [this, &sheet] {
            const auto elapsed = std::chrono::steady_clock::now() - *start_;
            std::printf("first page shown after %.1f ms\n",
                        std::chrono::duration<double, std::milli>(elapsed).count());
            std::fflush(stdout);
            sheet.reject();
        });
    }
    sheet.exec();
}

QtWizardUi::LazyPrompter::LazyPrompter(QtWizardUi& ui) : ui_(ui), console_(std::cerr) {}

Prompter& QtWizardUi::LazyPrompter::Target() {
    if (ui_.EnsureApplication()) {
        return gui_;
    }
    return console_;
}

void QtWizardUi::LazyPrompter::ShowMessage(const std::string& text, MessageIcon icon) {
    Target().ShowMessage(text, icon);
}

bool QtWizardUi::LazyPrompter::AskYesNo(const std::string& text) {
    return Target().AskYesNo(text);
}

void QtWizardUi::LazyPrompter::Beep() {
    Target().Beep();
}

std::optional<int> QtWizardUi::LazyPrompter::ChooseFunction(const std::string& functionList) {
    return Target().ChooseFunction(functionList);
}

std::optional<std::string> QtWizardUi::LazyPrompter::ChooseFileToOpen(
    const std::string& title, const std::string& filter, const std::string& defaultExtension) {
    return Target().ChooseFileToOpen(title, filter, defaultExtension);
}

std::optional<std::string> QtWizardUi::LazyPrompter::ChooseFolder(
    const std::string& initialFolder) {
    return Target().ChooseFolder(initialFolder);
}

std::optional<StepEditorFields> QtWizardUi::LazyPrompter::EditStep(
    const StepEditorFields& initial) {
    return Target().EditStep(initial);
}

}  // namespace tessaly
