#pragma once

#include <QAbstractTableModel>
#include <QWidget>

#include <memory>

class AllInOneController;
class BrowserController;
class CapitalizationController;
class EditorController;
class ImageController;
class NamingController;
class NumberingController;
class QPushButton;
class QTableView;
class ReleaseApplier;

// The track rows of the release whose cover is selected in the browser: a check box with the
// title, track, disc, artist, the arrow of a checked row and the file of the selected song it
// goes to. Toggling a check box moves the targets of every later checked row.
class ReleaseTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { TrackColumn, DiscColumn, TitleColumn, ArtistColumn, MapsToColumn, TargetFileColumn, ColumnCount };

    ReleaseTableModel(ReleaseApplier *applier, QObject *parent = nullptr);

    // The identifier of a column ("track", "disc", "title", "artist", "mapsTo", "targetFile").
    static QString columnIdentifier(int column);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Another release is current, or its flags changed all at once.
    void reload();
    // The selected songs changed: the targets follow.
    void refreshTargets();

private:
    ReleaseApplier *m_applier;
};

// The release table with its commands: check all, uncheck all, and apply the selected cover's
// release to the editor's selected songs (asking first when the counts differ).
class ReleaseTable : public QWidget {
    Q_OBJECT

public:
    ReleaseTable(BrowserController *browser, EditorController *editor, ImageController *images,
                 QWidget *parent = nullptr);
    ~ReleaseTable() override;

    ReleaseTableModel *model() const { return m_model; }
    QTableView *view() const { return m_view; }
    QPushButton *applyButton() const { return m_apply; }
    QPushButton *checkAllButton() const { return m_checkAll; }
    QPushButton *uncheckAllButton() const { return m_uncheckAll; }
    ReleaseApplier &applier() const { return *m_applier; }

    void reload();
    void refreshTargets();
    void checkAll();
    void uncheckAll();
    // True when the release was applied (not when there was nothing to apply or the person
    // cancelled); then applied() has been emitted.
    bool apply();

signals:
    // Songs were changed: the window goes back to the editor.
    void applied();

protected:
    void showEvent(QShowEvent *event) override;
    // Space in the table toggles the check box of the current row, whichever cell is current.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateCommands();

    BrowserController *m_browser;
    std::unique_ptr<NumberingController> m_numbering;
    std::unique_ptr<CapitalizationController> m_capitalization;
    std::unique_ptr<NamingController> m_naming;
    std::unique_ptr<AllInOneController> m_allInOne;
    std::unique_ptr<ReleaseApplier> m_applier;
    ReleaseTableModel *m_model;
    QTableView *m_view;
    QPushButton *m_checkAll;
    QPushButton *m_uncheckAll;
    QPushButton *m_apply;
};
