#pragma once

#include "model/songobserverset.h"

#include <QCheckBox>
#include <QComboBox>
#include <QList>
#include <QWidget>

#include <functional>

class EditorController;
class FieldEditor;
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

// A combo box whose choices are made when its list is opened (or asked for): a large selection
// has many distinct values, and most selections never open the list.
class ChoicesComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;

    void setChoicesProvider(std::function<QStringList()> provider) { m_provider = std::move(provider); }
    // The choices go stale when the selection or its songs change.
    void invalidateChoices();
    // The choices, made now if stale.
    QStringList choices();
    void showPopup() override;

private:
    void fill();

    std::function<QStringList()> m_provider;
    bool m_stale = true;
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
    // The choices a field's list offers; empty for fields without one.
    QStringList choicesFor(SongField field) const;
    QToolButton *artistLinkButton() const { return m_link; }

private:
    enum class Choices { None, Values, Genres, Discs };
    struct Field {
        SongField field;
        Choices choices;
        QLineEdit *line = nullptr;
        ChoicesComboBox *combo = nullptr;
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
    QStringList choicesOf(const Field &field) const;
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
