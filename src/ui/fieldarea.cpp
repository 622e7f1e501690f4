#include "ui/fieldarea.h"

#include "editor/editorcontroller.h"
#include "editor/fieldeditor.h"
#include "editor/transformers.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "ui/icons.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

const QString BindArtistsKey = QStringLiteral("BIND_ALBUM_ARTIST_TO_ARTIST");

// What a field shows of one song: years as text, 0 as nothing. Called for every selected song.
QString textOf(const Song &song, SongField field)
{
    switch (field) {
    case SongField::Track: return song.track();
    case SongField::Title: return song.title();
    case SongField::Artist: return song.artist();
    case SongField::Album: return song.album();
    case SongField::Disc: return song.disc();
    case SongField::AlbumArtist: return song.albumArtist();
    case SongField::Composer: return song.composer();
    case SongField::Genre: return song.genre();
    case SongField::Year: return Number2StringTransformer::transformedValue(song.year());
    case SongField::Comment: return song.comment();
    case SongField::FileName: return song.fileName();
    default: return song.valueForKey(Song::keyForField(field)).toString();
    }
}

// A typed text as a setter argument: never the null text, which the setters ignore.
QVariant argumentOf(SongField field, QString text)
{
    if (field == SongField::Year)
        return Number2StringTransformer::reverseTransformedValue(text);
    if (text.isNull())
        text = QLatin1String("");
    return text;
}

} // namespace

void ChoicesComboBox::invalidateChoices()
{
    m_stale = true;
}

QStringList ChoicesComboBox::choices()
{
    fill();
    QStringList items;
    for (int index = 0; index < count(); ++index)
        items.append(itemText(index));
    return items;
}

void ChoicesComboBox::showPopup()
{
    fill();
    QComboBox::showPopup();
}

void ChoicesComboBox::fill()
{
    if (!m_stale || !m_provider)
        return;
    m_stale = false;
    // Filling the list leaves the typed text as it is.
    const QString text = currentText();
    const QSignalBlocker blocker(this);
    clear();
    addItems(m_provider());
    setCurrentIndex(-1);
    setEditText(text);
}

void SelectionCheckBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

FieldArea::FieldArea(EditorController *editor, FieldEditor *fieldEditor, QWidget *parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_fieldEditor(fieldEditor)
{
    auto *grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    grid->setVerticalSpacing(4);
    m_fields.reserve(11);
    addField(grid, SongField::Title, "Title", Choices::None);
    addField(grid, SongField::Artist, "Artist", Choices::Values);
    addField(grid, SongField::AlbumArtist, "AlbumArtist", Choices::Values);
    addField(grid, SongField::Album, "Album", Choices::Values);
    addField(grid, SongField::Composer, "Composer", Choices::Values);
    addField(grid, SongField::Track, "Track", Choices::None);
    addField(grid, SongField::Disc, "Disc", Choices::Discs);
    addField(grid, SongField::Genre, "Genre", Choices::Genres);
    addField(grid, SongField::Year, "Year", Choices::Values);
    addField(grid, SongField::Comment, "Comment", Choices::Values);
    addCompilation(grid);
    addField(grid, SongField::FileName, "FileName", Choices::None);
    grid->setRowStretch(grid->rowCount(), 1);

    // The link between artist and album artist, beside both fields.
    m_link = new QToolButton(this);
    m_link->setCheckable(true);
    m_link->setAutoRaise(true);
    m_link->setIcon(Icons::icon(Icons::Link));
    m_link->setToolTip(Localized::text("LinkArtistsToolTip"));
    m_link->setAccessibleName(Localized::text("LinkArtists"));
    m_link->setChecked(UserDefaults::shared().boolForKey(BindArtistsKey));
    grid->addWidget(m_link, 1, 3, 2, 1, Qt::AlignVCenter);
    connect(m_link, &QToolButton::clicked, this, [this] {
        m_fieldEditor->toggleArtistsLink();
        m_link->setChecked(UserDefaults::shared().boolForKey(BindArtistsKey));
    });
    connect(&UserDefaults::shared(), &UserDefaults::valueChanged, this, &FieldArea::settingChanged);
    refresh(true);
}

void FieldArea::addField(QGridLayout *grid, SongField songField, const char *labelKey, Choices choices)
{
    const int row = grid->rowCount();
    m_fields.append(Field{songField, choices});
    Field &field = m_fields.last();
    auto *label = new QLabel(Localized::text(labelKey), this);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(label, row, 0);
    QLineEdit *line = nullptr;
    if (choices == Choices::None) {
        field.line = line = new QLineEdit(this);
        grid->addWidget(field.line, row, 1);
    } else {
        field.combo = new ChoicesComboBox(this);
        field.combo->setChoicesProvider([this, songField] { return choicesOf(*fieldFor(songField)); });
        field.combo->setEditable(true);
        field.combo->setInsertPolicy(QComboBox::NoInsert);
        // No completion while typing: the text is what the person types.
        field.combo->setCompleter(nullptr);
        field.combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        field.combo->setMinimumContentsLength(8);
        line = field.combo->lineEdit();
        grid->addWidget(field.combo, row, 1);
        connect(field.combo, &QComboBox::activated, this, [this, songField](int index) {
            Field *chosenField = fieldFor(songField);
            chosen(*chosenField, chosenField->combo->itemText(index));
        });
    }
    label->setBuddy(field.combo ? static_cast<QWidget *>(field.combo) : line);
    line->setClearButtonEnabled(false);
    connect(line, &QLineEdit::textEdited, this, [this, songField] { fieldFor(songField)->dirty = true; });
    connect(line, &QLineEdit::returnPressed, this, [this, songField] { returnPressed(*fieldFor(songField)); });
    connect(line, &QLineEdit::editingFinished, this, [this, songField] { commit(*fieldFor(songField)); });
    if (songField != SongField::FileName) {
        field.clear = new QToolButton(this);
        field.clear->setAutoRaise(true);
        field.clear->setIcon(Icons::icon(Icons::Clear));
        field.clear->setToolTip(Localized::text(songField == SongField::Genre ? "ClearGenreToolTip" : "ClearFieldToolTip"));
        field.clear->setAccessibleName(Localized::text("ClearField"));
        grid->addWidget(field.clear, row, 2);
        connect(field.clear, &QToolButton::clicked, this, [this, songField] { clear(songField); });
    }
}

void FieldArea::addCompilation(QGridLayout *grid)
{
    m_compilation = new SelectionCheckBox(Localized::text("Compilation"), this);
    grid->addWidget(m_compilation, grid->rowCount(), 1);
    connect(m_compilation, &QCheckBox::clicked, this, [this] {
        if (m_showing)
            return;
        m_fieldEditor->setValue(SongField::IsCompilation, qint64(m_compilation->checkState() == Qt::Checked ? 1 : 0));
    });
}

FieldArea::Field *FieldArea::fieldFor(SongField field)
{
    for (Field &candidate : m_fields) {
        if (candidate.field == field)
            return &candidate;
    }
    return nullptr;
}

const FieldArea::Field *FieldArea::fieldFor(SongField field) const
{
    return const_cast<FieldArea *>(this)->fieldFor(field);
}

QLineEdit *FieldArea::lineOf(const Field &field) const
{
    return field.line ? field.line : field.combo->lineEdit();
}

QWidget *FieldArea::editorFor(SongField songField) const
{
    if (songField == SongField::IsCompilation)
        return m_compilation;
    const Field *field = fieldFor(songField);
    if (!field)
        return nullptr;
    return field->combo ? static_cast<QWidget *>(field->combo) : field->line;
}

QLineEdit *FieldArea::lineEditFor(SongField songField) const
{
    const Field *field = fieldFor(songField);
    return field ? lineOf(*field) : nullptr;
}

QStringList FieldArea::choicesFor(SongField songField) const
{
    const Field *field = fieldFor(songField);
    return field && field->combo ? field->combo->choices() : QStringList();
}

QToolButton *FieldArea::clearButtonFor(SongField songField) const
{
    const Field *field = fieldFor(songField);
    return field ? field->clear : nullptr;
}

// ---- Committing ------------------------------------------------------------------------------------

void FieldArea::returnPressed(Field &field)
{
    // The Return key in the artist field copies the artists to the album artists while the two
    // are linked, whether or not the text changed; the commit follows.
    if (field.field == SongField::Artist)
        m_fieldEditor->doCommandBySelector(SongField::Artist, FieldEditor::TextCommand::InsertNewline);
}

void FieldArea::commit(Field &field)
{
    if (!field.dirty || m_showing || m_blocked)
        return;
    field.dirty = false;
    const QString text = lineOf(field)->text();
    m_fieldEditor->setValue(field.field, argumentOf(field.field, text));
    if (field.field == SongField::Genre)
        m_fieldEditor->setGenre(text);
}

void FieldArea::chosen(Field &field, const QString &text)
{
    if (m_showing || m_blocked)
        return;
    field.dirty = false;
    m_fieldEditor->setValue(field.field, argumentOf(field.field, text));
    if (field.field == SongField::Genre)
        m_fieldEditor->comboBoxSelectionDidChange(text);
}

void FieldArea::clear(SongField field)
{
    if (Field *cleared = fieldFor(field))
        cleared->dirty = false;
    switch (field) {
    case SongField::Title: m_fieldEditor->clearTitle(); break;
    case SongField::Artist: m_fieldEditor->clearArtist(); break;
    case SongField::AlbumArtist: m_fieldEditor->clearAlbumArtist(); break;
    case SongField::Composer: m_fieldEditor->clearComposer(); break;
    case SongField::Album: m_fieldEditor->clearAlbum(); break;
    case SongField::Track: m_fieldEditor->clearTrackNumber(); break;
    case SongField::Disc: m_fieldEditor->clearDisc(); break;
    case SongField::Genre:
        m_fieldEditor->clearGenre(QApplication::keyboardModifiers() & Qt::AltModifier);
        // The genre choices follow the history even when no song changed.
        refresh(false);
        break;
    case SongField::Year: m_fieldEditor->clearYear(); break;
    case SongField::Comment: m_fieldEditor->clearComment(); break;
    default: break;
    }
}

// ---- Showing ----------------------------------------------------------------------------------------

void FieldArea::refresh(bool selectionChanged)
{
    const QList<Song *> songs = m_editor->selectedObjects();
    m_showing = true;
    for (Field &field : m_fields) {
        if (selectionChanged)
            field.dirty = false;
        // Text being typed stays until it is committed.
        if (field.dirty)
            continue;
        showField(field, songs);
    }
    showCompilation(songs);
    updateEnabled(songs.size());
    m_showing = false;
}

void FieldArea::showField(Field &field, const QList<Song *> &songs)
{
    QString text;
    QString placeholder;
    if (songs.isEmpty()) {
        placeholder = Localized::text("FieldNoSelection");
    } else {
        text = textOf(*songs.first(), field.field);
        for (const Song *song : songs) {
            if (textOf(*song, field.field) != text) {
                text.clear();
                placeholder = Localized::text("FieldMultipleValues");
                break;
            }
        }
    }
    QLineEdit *line = lineOf(field);
    if (field.combo) {
        field.combo->clear();
        field.combo->invalidateChoices();
        field.combo->setEditText(text);
    } else {
        line->setText(text);
    }
    line->setPlaceholderText(placeholder);
    line->setCursorPosition(0);
    if (field.field == SongField::FileName) {
        QPalette palette = line->palette();
        const TextColor color = Song2TextColorTransformer::transformedValue(songs.size() == 1 ? songs.first() : nullptr);
        const QPalette standard = QApplication::palette(line);
        palette.setColor(QPalette::Text, color == TextColor::Red        ? QColor(Qt::red)
                                             : color == TextColor::Disabled ? standard.color(QPalette::Disabled, QPalette::Text)
                                                                            : standard.color(QPalette::Text));
        line->setPalette(palette);
    }
}

QStringList FieldArea::choicesOf(const Field &field) const
{
    const QList<Song *> songs = m_editor->selectedObjects();
    const QVariant values = songs.isEmpty() ? QVariant() : QVariant(valuesForKey(songs, Song::keyForField(field.field)));
    std::optional<QStringList> choices;
    switch (field.choices) {
    case Choices::Values: choices = Array2SetAsArrayTransformer().transformedValue(values); break;
    case Choices::Genres: choices = Genre2ArrayTransformer().transformedValue(values); break;
    case Choices::Discs: choices = Disc2ArrayTransformer().transformedValue(values); break;
    case Choices::None: break;
    }
    return choices.value_or(QStringList());
}

void FieldArea::showCompilation(const QList<Song *> &songs)
{
    Qt::CheckState state = Qt::Unchecked;
    if (!songs.isEmpty()) {
        const bool first = songs.first()->isCompilation() != 0;
        state = first ? Qt::Checked : Qt::Unchecked;
        for (const Song *song : songs) {
            if ((song->isCompilation() != 0) != first) {
                state = Qt::PartiallyChecked;
                break;
            }
        }
    }
    m_compilation->setTristate(state == Qt::PartiallyChecked);
    m_compilation->setCheckState(state);
}

void FieldArea::updateEnabled(qsizetype selected)
{
    const bool any = selected > 0 && !m_blocked;
    for (Field &field : m_fields) {
        const bool enabled = field.field == SongField::FileName ? selected == 1 && !m_blocked : any;
        (field.combo ? static_cast<QWidget *>(field.combo) : field.line)->setEnabled(enabled);
        if (field.clear)
            field.clear->setEnabled(any);
    }
    m_compilation->setEnabled(any);
    m_link->setEnabled(!m_blocked);
}

void FieldArea::setEditingBlocked(bool blocked)
{
    if (blocked) {
        // What was typed goes to the songs before the save reads them.
        for (Field &field : m_fields)
            commit(field);
    }
    m_blocked = blocked;
    updateEnabled(m_editor->selectedObjects().size());
}

void FieldArea::settingChanged(const QString &key)
{
    if (key == BindArtistsKey)
        m_link->setChecked(UserDefaults::shared().boolForKey(BindArtistsKey));
    else if (key == QLatin1String("GENRE_HISTORY") && !fieldFor(SongField::Genre)->dirty)
        refresh(false);
}
