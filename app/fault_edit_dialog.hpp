// "&Edit Faults...": the loaded faults as a table in the geologist's terms (the columns of a fault
// table), with rows added, removed and moved, and the last change undone. OK reads the table as
// the fault table reader does and stays open with its message when a cell is bad.
#pragma once

#include "geometry/fault.hpp"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QTableWidget;

namespace tolvex {

using table_cells = std::vector<std::vector<std::string>>;

class FaultEditDialog : public QDialog {
    Q_OBJECT
  public:
    // rows: the header, then one row per fault (fault_table_rows). show_error shows a message.
    FaultEditDialog(const table_cells& rows, std::function<void(const std::string&)> show_error,
                    QWidget* parent = nullptr);

    // The faults read from the table when OK was accepted, youngest first.
    const std::vector<fault>& faults() const { return faults_; }

    // The table's cells as they stand, the header first.
    table_cells cells() const;

    void accept() override;
    void add_row();
    void remove_row();
    void move_row(int by);
    void undo();

  private:
    void show_cells(const table_cells& rows);
    void changed(); // a cell was edited: the state before it can be undone

    QTableWidget* table_ = nullptr;
    std::function<void(const std::string&)> show_error_;
    table_cells shown_;                // what the table showed after the last change
    std::vector<table_cells> history_; // the states before each change, oldest first
    std::vector<fault> faults_;
};

} // namespace tolvex
