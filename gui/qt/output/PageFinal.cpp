#include "gui/qt/output/PageFinal.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/qt/GatherIntrInfo.h"
#include "gui/qt/WidgetSupport.h"
#include "output/Generation.h"
#include "output/InfHazards.h"
#include "output/OutputPlan.h"
#include "resources/StringTable.h"

namespace tessaly {

namespace {

QString WithBusName(std::string_view format, int bus) {
    QString text = FromBytes(std::string(format));
    return text.replace(QStringLiteral("%s"),
                        bus == kBusUsb ? QStringLiteral("USB") : QStringLiteral("PXI"));
}

// The height of a text box showing `lines` lines.
int LinesHigh(const QPlainTextEdit* edit, int lines) {
    return edit->fontMetrics().lineSpacing() * lines + 2 * edit->frameWidth() +
           2 * static_cast<int>(edit->document()->documentMargin());
}

}  // namespace

CPageFinal::CPageFinal(CGatherIntrInfo& sheet)
    : CWizardPage(sheet, kPageFinal, QStringLiteral("Tessaly Wizard - Output Files")) {}

void CPageFinal::CreateControls() {
    noteText_ = MakeText({}, this, QStringLiteral("noteText"));
    prefixEdit_ = MakeLatin1Edit(QStringLiteral("prefixEdit"), this);
    prefixLabel_ = MakeBuddyLabel(WithBusName(strings::kInstrumentPrefixLabel, model().plan.Bus),
                                  prefixEdit_, this, QStringLiteral("prefixLabel"));
    // The directory is a path: any character the file system takes.
    directoryEdit_ = new QLineEdit(this);
    directoryEdit_->setObjectName(QStringLiteral("directoryEdit"));
    browseButton_ = new QPushButton(tr("B&rowse"), this);
    browseButton_->setObjectName(QStringLiteral("browseButton"));
    fileList_ = new QPlainTextEdit(this);
    fileList_->setObjectName(QStringLiteral("fileListText"));
    fileList_->setReadOnly(true);
    fileList_->setLineWrapMode(QPlainTextEdit::NoWrap);
    fileList_->setTabChangesFocus(true);

    // What INF readers will misread, under the list; the files are written as they are.
    hazardArea_ = new QWidget(this);
    hazardArea_->setObjectName(QStringLiteral("hazardArea"));
    auto* hazardIcon = new QLabel(hazardArea_);
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    hazardIcon->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(iconSize));
    hazardText_ = new QPlainTextEdit(hazardArea_);
    hazardText_->setObjectName(QStringLiteral("hazardText"));
    hazardText_->setReadOnly(true);
    hazardText_->setTabChangesFocus(true);
    // Three lines, and the list keeps room for its five files: a warning that appears while
    // the prefix is typed takes the list's spare room and leaves the window's size alone.
    hazardText_->setFixedHeight(LinesHigh(hazardText_, 3));
    fileList_->setMinimumHeight(LinesHigh(fileList_, 5));
    auto* hazardHeading =
        MakeBuddyLabel(tr("INF readers will misread these values (the files are written as "
                          "entered):"),
                       hazardText_, hazardArea_, QStringLiteral("hazardHeading"));
    hazardHeading->setWordWrap(true);
    auto* hazardColumn = new QVBoxLayout;
    hazardColumn->addWidget(hazardHeading);
    hazardColumn->addWidget(hazardText_);
    auto* hazardLayout = new QHBoxLayout(hazardArea_);
    hazardLayout->setContentsMargins(0, 0, 0, 0);
    hazardLayout->addWidget(hazardIcon, 0, Qt::AlignTop);
    hazardLayout->addLayout(hazardColumn, 1);
    hazardArea_->hide();

    auto* directory = new QHBoxLayout;
    directory->addWidget(directoryEdit_, 1);
    directory->addWidget(browseButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeText(
        tr("Thanks for using the Tessaly Wizard!  This wizard will now generate the necessary "
           "files based on the information you have entered.  Please specify the filename prefix "
           "and the output directory."),
        this, QStringLiteral("thanksText")));
    layout->addWidget(noteText_);
    layout->addWidget(prefixLabel_);
    layout->addWidget(prefixEdit_);
    layout->addWidget(MakeBuddyLabel(tr("&Directory for Output Files"), directoryEdit_, this,
                                     QStringLiteral("directoryLabel")));
    layout->addLayout(directory);
    layout->addWidget(new QLabel(tr("The following files will be generated:"), this));
    layout->addWidget(fileList_, 1);
    layout->addWidget(hazardArea_);

    WatchFocusLoss(prefixEdit_);
    connect(prefixEdit_, &QLineEdit::textChanged, this, [this] { OnPrefixChanged(); });
    connect(directoryEdit_, &QLineEdit::textChanged, this, [this] { OnDirectoryChanged(); });
    connect(browseButton_, &QPushButton::clicked, this, [this] { Browse(); });
}

void CPageFinal::OnInitDialog() {
    WizardModel& m = model();
    m.plan.Bus = m.device.BusType;
    const Platform& platform = sheet().platform();
    ComputeDefaultOutputDirectory(m.device, m.plan, platform.registry, platform.system,
                                  platform.files);
    RefreshFileList(false);
}

void CPageFinal::DoDataExchange(bool save) {
    DeviceDescription& device = model().device;
    if (save) {
        device.InstrumentPrefix = ToBytes(prefixEdit_->text());
        device.OutputDirectory = ToPath(directoryEdit_->text());
    } else {
        ShowValue(prefixEdit_, device.InstrumentPrefix);
        if (const QString directory = FromPath(device.OutputDirectory);
            directoryEdit_->text() != directory) {
            directoryEdit_->setText(directory);
        }
    }
}

void CPageFinal::OnSetActive() {
    WizardModel& m = model();
    m.plan.Bus = m.device.BusType;
    sheet().SetTitle(WithBusName(strings::kOutputFilesTitle, m.plan.Bus));
    prefixLabel_->setText(WithBusName(strings::kInstrumentPrefixLabel, m.plan.Bus));
    noteText_->setText(FromBytes(std::string(
        m.plan.Bus == kBusUsb ? strings::kUsbDistributionNote : strings::kPxiDistributionNote)));
    sheet().SetWizardButtons(kButtonBack | kButtonNext);
    RefreshFileList(false);
    RunValidatePrefix();
}

void CPageFinal::RunValidatePrefix() {
    UpdateData(true);
    ValidatePrefix(model().device, model().plan, sheet().platform().files, sheet().prompter());
    RefreshFileList(false);
}

void CPageFinal::RefreshFileList(bool readFields) {
    if (readFields) {
        UpdateData(true);
    }
    ComposeFileNames(model().device, model().plan, sheet().platform().files);
    QString list = FromPath(FileListText(model().plan));
    list.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (fileList_->toPlainText() != list) {
        fileList_->setPlainText(list);
    }
    UpdateData(false);
    ShowHazards();
}

void CPageFinal::ShowHazards() {
    QStringList lines;
    for (const InfHazard& hazard : FindInfHazards(model().device, model().plan.Bus)) {
        lines.append(FromBytes(DescribeInfHazard(hazard)));
    }
    const QString text = lines.join(QLatin1Char('\n'));
    if (hazardText_->toPlainText() != text) {
        hazardText_->setPlainText(text);
    }
    hazardArea_->setVisible(!lines.isEmpty());
}

void CPageFinal::OnFocusLost(QWidget* field) {
    if (field == prefixEdit_) {
        RunValidatePrefix();
    }
}

void CPageFinal::OnPrefixChanged() {
    if (prefixEdit_->text() == FromBytes(model().device.InstrumentPrefix)) {
        return;
    }
    UpdateData(true);
    FollowPrefixInDirectory(model().device, model().plan, sheet().platform().files);
    RefreshFileList(false);
}

void CPageFinal::OnDirectoryChanged() {
    if (directoryEdit_->text() == FromPath(model().device.OutputDirectory)) {
        return;
    }
    UpdateData(true);
    RefreshFileList(false);
}

void CPageFinal::Browse() {
    if (const auto folder = sheet().prompter().ChooseFolder(model().device.OutputDirectory)) {
        model().device.OutputDirectory = *folder;
    }
    RefreshFileList(false);
}

NavAnswer CPageFinal::OnWizardNext() {
    // A prefix still being typed when Next was pressed by Enter gets its check here, so no file
    // is named from a prefix the rules refuse.
    if (!IsValidPrefix(model().device.InstrumentPrefix)) {
        RunValidatePrefix();
        return NavAnswer::Stay();
    }
    RefreshFileList(false);
    const int failed = GenerateAll(model(), sheet().platform(), sheet().prompter(),
                                   GenerationSource::OutputPage, false);
    return failed == 0 ? NavAnswer::Default() : NavAnswer::Stay();
}

NavAnswer CPageFinal::OnWizardBack() {
    return BackFrom(kPageFinal, {model().plan.Bus, model().device.GeneratesInterrupts});
}

}  // namespace tessaly
