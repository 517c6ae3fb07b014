#include "gui/qt/output/PageFinal.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/qt/WidgetSupport.h"

namespace tessaly {

namespace {

// The height of a text box showing `lines` lines.
int LinesHigh(const QPlainTextEdit* edit, int lines) {
    return edit->fontMetrics().lineSpacing() * lines + 2 * edit->frameWidth() +
           2 * static_cast<int>(edit->document()->documentMargin());
}

}  // namespace

void CPageFinal::CreateControls() {
    auto* note = MakeText({}, this);
    auto* prefix = new QLineEdit(this);
    auto* prefixLabel = MakeBuddyLabel({}, prefix, this, {});
    auto* directory = new QLineEdit(this);
    auto* browse = new QPushButton(tr("B&rowse"), this);
    auto* package =
        new QCheckBox(tr("&Also write a signed driver package for 64-bit Windows"), this);
    auto* fileList = new QPlainTextEdit(this);
    fileList->setReadOnly(true);
    fileList->setLineWrapMode(QPlainTextEdit::NoWrap);
    fileList->setTabChangesFocus(true);

    // What INF readers will misread, under the list; the files are written as they are.
    auto* hazardArea = new QWidget(this);
    hazardArea->setObjectName(QStringLiteral("hazardArea"));
    auto* hazardIcon = new QLabel(hazardArea);
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    hazardIcon->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(iconSize));
    auto* hazardText = new QPlainTextEdit(hazardArea);
    hazardText->setReadOnly(true);
    hazardText->setTabChangesFocus(true);
    // Three lines, and the list keeps room for its five files: a warning that appears while
    // the prefix is typed takes the list's spare room and leaves the window's size alone.
    hazardText->setFixedHeight(LinesHigh(hazardText, 3));
    fileList->setMinimumHeight(LinesHigh(fileList, 5));
    auto* hazardHeading =
        MakeBuddyLabel(tr("INF readers will misread these values (the files are written as "
                          "entered):"),
                       hazardText, hazardArea, QStringLiteral("hazardHeading"));
    hazardHeading->setWordWrap(true);
    auto* hazardColumn = new QVBoxLayout;
    hazardColumn->addWidget(hazardHeading);
    hazardColumn->addWidget(hazardText);
    auto* hazardLayout = new QHBoxLayout(hazardArea);
    hazardLayout->setContentsMargins(0, 0, 0, 0);
    hazardLayout->addWidget(hazardIcon, 0, Qt::AlignTop);
    hazardLayout->addLayout(hazardColumn, 1);
    hazardArea->hide();

    auto* directoryLabel = MakeBuddyLabel(tr("&Directory for Output Files"), directory, this, {});
    const std::pair<ControlId, QWidget*> controls[] = {
        {kNoteText, note},           {kPrefixLabel, prefixLabel},
        {kPrefixEdit, prefix},       {kDirectoryLabel, directoryLabel},
        {kDirectoryEdit, directory}, {kBrowseButton, browse},
        {kPackageCheck, package},    {kFileListText, fileList},
    };
    for (const auto& [control, widget] : controls) {
        Bind(control, widget);
    }
    Bind(kHazardText, hazardText, hazardArea);

    auto* directoryRow = new QHBoxLayout;
    directoryRow->addWidget(directory, 1);
    directoryRow->addWidget(browse);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeText(
        tr("Thanks for using the Tessaly Wizard!  This wizard will now generate the necessary "
           "files based on the information you have entered.  Please specify the filename prefix "
           "and the output directory."),
        this, QStringLiteral("thanksText")));
    layout->addWidget(note);
    layout->addWidget(prefixLabel);
    layout->addWidget(prefix);
    layout->addWidget(directoryLabel);
    layout->addLayout(directoryRow);
    layout->addWidget(package);
    layout->addWidget(new QLabel(tr("The following files will be generated:"), this));
    layout->addWidget(fileList, 1);
    layout->addWidget(hazardArea);
}

}  // namespace tessaly
