#pragma once

#include "editor/userinterface.h"

// The benchmark's stand-in for the window: every question gets its first button ("OK", "Save"),
// and nothing is shown.
class SilentUserInterface : public UserInterface {
public:
    int ask(const Question &) override { return 0; }
    std::optional<QStringList> chooseFiles(const FileChoice &) override { return std::nullopt; }
    void showProgress(const QString &) override {}
    void showCountedProgress(const QString &, qint64, qint64, const std::function<void()> &) override {}
    void clearSortOrder() override {}
    QList<int> selectedRows() const override { return m_rows; }
    void setSelectedRows(const QList<int> &rows) override { m_rows = rows; }

private:
    QList<int> m_rows;
};
