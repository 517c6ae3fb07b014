#pragma once

#include <QDialog>
#include <QStringList>
#include <string>

class QComboBox;

namespace tessaly {

// Dialog 129: lets the user pick one function of a combination module.
class CFunctionSelectDialog final : public QDialog {
    Q_OBJECT
public:
    CFunctionSelectDialog(const std::string& functionList, QWidget* parent);

    // The position stored by the last change of selection (0 = first entry).
    int ChosenPosition() const { return position_; }

    // One item per ";"-terminated entry of the function description list, without the ";".
    static QStringList ItemsFromList(const std::string& functionList);

private:
    QComboBox* functions_ = nullptr;
    int position_ = 0;
};

}  // namespace tessaly
