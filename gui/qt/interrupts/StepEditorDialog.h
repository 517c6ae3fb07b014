#pragma once

#include <QDialog>

#include "interrupts/StepEditorFields.h"

class QComboBox;
class QLineEdit;

namespace tessaly {

// Dialog 106: one register access step in its six editor texts. The texts are its whole state:
// they go into the controls when it opens, come back on OK, and the rules of the core decide
// what the boxes enable and how the numbers read.
class CStepEditorDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CStepEditorDialog(const StepEditorFields& fields = {}, QWidget* parent = nullptr);

    // The texts after OK: always normalised for the chosen width.
    const StepEditorFields& Fields() const { return fields_; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MoveTextsIn();
    void MoveTextsOut();
    void ApplyEnabling();
    void Normalise();
    void OnAccessChosen();
    void OnWidthChosen();

    StepEditorFields fields_;
    QComboBox* accessCombo_ = nullptr;
    QComboBox* widthCombo_ = nullptr;
    QComboBox* spaceCombo_ = nullptr;
    QLineEdit* offsetEdit_ = nullptr;
    QLineEdit* maskEdit_ = nullptr;
    QLineEdit* valueEdit_ = nullptr;
};

}  // namespace tessaly
