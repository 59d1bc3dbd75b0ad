#pragma once

#include "editing/tools_dialog.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace plv::gui {

// The Tools dialog: a view over editing::ToolsDialog. The scope choices with their counts,
// the Pick and Choose list, the mode's texts and buttons; each click goes to the state.
class ToolsDialogView : public QDialog {
    Q_OBJECT
  public:
    ToolsDialogView(editing::ToolsDialog& state, QWidget* parent = nullptr);

    // "Specif&y filename" asks through this (default: a file-save dialog in the folder);
    // tests answer without a dialog.
    std::function<std::optional<std::string>(const std::string& folder)> chooseExportFile;

    QRadioButton* choiceButton(ScopeChoice choice) const;
    QLabel* countLabel(ScopeChoice choice) const;
    QListWidget* pickList() const { return list_; }
    QLineEdit* textField() const { return text_; }

  private:
    void build();
    QWidget* buildScopeFrame();
    QWidget* buildPickArea();
    QWidget* buildTextArea();
    QWidget* buildMatchArea();
    void choose(ScopeChoice choice);
    void pickChanged();
    void showPickedCount();
    void selectPicked();
    void specifyFile();
    void runButton(editing::ToolsDialog::After (editing::ToolsDialog::*button)());
    void showMatch();

    editing::ToolsDialog& state_;
    std::array<QRadioButton*, 5> choices_{};
    std::array<QLabel*, 5> counts_{};
    QWidget* pickArea_ = nullptr;
    QListWidget* list_ = nullptr;
    QLineEdit* text_ = nullptr;
    QLineEdit* replace_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QLabel* matchName_ = nullptr;
    QPlainTextEdit* matchBody_ = nullptr;
    bool filling_ = false;
};

} // namespace plv::gui
