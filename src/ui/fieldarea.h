#pragma once

#include "model/songobserverset.h"

#include <QCheckBox>
#include <QList>
#include <QWidget>

class EditorController;
class FieldEditor;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QToolButton;
class Song;

// The check box of a flag across the selection: partly checked while the songs disagree; a
// click makes it checked (from partly or not checked) or not checked, never partly.
class SelectionCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override;
};

// The tag fields of the selected songs beside the table. Each field shows the value the
// selected songs share, or a placeholder when they disagree or none is selected; the combo
// boxes offer the values of the selection (and for the genre the recent genres). A value is
// committed on Return or when the field loses the focus, and only when it was typed or chosen:
// it goes to every selected song through the field editor. Each field has a Clear button (Alt
// on the genre's empties the genre history); the link button between artist and album artist
// turns the binding of the two on and off. The file name field edits a single song.
class FieldArea : public QWidget {
    Q_OBJECT

public:
    FieldArea(EditorController *editor, FieldEditor *fieldEditor, QWidget *parent = nullptr);

    // Shows the selection's values anew. With selectionChanged, text typed and not committed
    // is dropped (it was meant for the songs selected before).
    void refresh(bool selectionChanged);
    void setEditingBlocked(bool blocked);

    // The editor of a field: a QLineEdit, a QComboBox or (the compilation flag) a QCheckBox.
    QWidget *editorFor(SongField field) const;
    // The line edit a field is typed into; null for the compilation flag.
    QLineEdit *lineEditFor(SongField field) const;
    QToolButton *clearButtonFor(SongField field) const;
    QToolButton *artistLinkButton() const { return m_link; }

private:
    enum class Choices { None, Values, Genres, Discs };
    struct Field {
        SongField field;
        Choices choices;
        QLineEdit *line = nullptr;
        QComboBox *combo = nullptr;
        QToolButton *clear = nullptr;
        bool dirty = false;
    };

    void addField(QGridLayout *grid, SongField field, const char *labelKey, Choices choices);
    void addCompilation(QGridLayout *grid);
    Field *fieldFor(SongField field);
    const Field *fieldFor(SongField field) const;
    QLineEdit *lineOf(const Field &field) const;
    void commit(Field &field);
    void returnPressed(Field &field);
    void chosen(Field &field, const QString &text);
    void clear(SongField field);
    void showField(Field &field, const QList<Song *> &songs);
    void showCompilation(const QList<Song *> &songs);
    void settingChanged(const QString &key);
    void updateEnabled(qsizetype selected);

    EditorController *m_editor;
    FieldEditor *m_fieldEditor;
    QList<Field> m_fields;
    SelectionCheckBox *m_compilation = nullptr;
    QToolButton *m_link = nullptr;
    bool m_blocked = false;
    bool m_showing = false;
};
