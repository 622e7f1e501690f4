#include "ui/preferencesdialog.h"

#include "editor/settingsregistry.h"
#include "editor/songtablecolumns.h"
#include "model/localized.h"
#include "model/userdefaults.h"
#include "ui/librarycommand.h"
#include "ui/settingbinding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QVBoxLayout *addPage(QTabWidget *pages, const char *titleKey)
{
    auto *page = new QWidget(pages);
    auto *layout = new QVBoxLayout(page);
    pages->addTab(page, Localized::text(titleKey));
    return layout;
}

} // namespace

PreferencesDialog::PreferencesDialog(QWidget *window)
    : QDialog(window)
    , m_pages(new QTabWidget(this))
    , m_pixelSize(new QComboBox(this))
{
    setWindowTitle(Localized::text("Preferences"));
    setWindowModality(Qt::WindowModal);

    QVBoxLayout *general = addPage(m_pages, "PreferencesGeneral");
    addCheckBox(general, "PrefSingleClickToEdit", QStringLiteral("SINGLE_CLICK_TO_EDIT"));
    addCheckBox(general, "PrefRestorePanels", QStringLiteral("RESTORE_PANELS_ON_STARTUP"));
    addCheckBox(general, "PrefBindAlbumArtist", QStringLiteral("BIND_ALBUM_ARTIST_TO_ARTIST"));
    addCheckBox(general, "PrefBindCompilation", QStringLiteral("BIND_COMPILATION_FLAG_TO_VARIOUS_ARTISTS"));
    addCheckBox(general, "PrefWindowsFileNames", QStringLiteral("ENSURE_VALID_WINDOWS_FILES"));
    general->addWidget(LibraryCommand::preferencesGroup(this));
    general->addStretch(1);

    QVBoxLayout *tags = addPage(m_pages, "PreferencesTags");
    addCheckBox(tags, "PrefWriteId3v23", QStringLiteral("WRITE_ID3_V23_TAGS"));
    addCheckBox(tags, "PrefWriteId3v1", QStringLiteral("WRITE_ID3_V1_TAGS"));
    addCheckBox(tags, "PrefLeadingZero", QStringLiteral("NUMBERING_LEADING_ZERO"));
    tags->addStretch(1);

    QVBoxLayout *pictures = addPage(m_pages, "PreferencesPictures");
    QCheckBox *scale = addCheckBox(pictures, "PrefScaleImages", QStringLiteral("SCALE_IMAGES"));
    auto *sizeRow = new QFormLayout;
    for (const SettingsRegistry::PixelSizeChoice &choice : SettingsRegistry::pixelSizeChoices())
        m_pixelSize->addItem(choice.label, choice.value);
    SettingBinding::bind(m_pixelSize, QStringLiteral("SCALE_MAX_PIXEL_SIZE"));
    sizeRow->addRow(Localized::text("PrefMaxPixelSize"), m_pixelSize);
    pictures->addLayout(sizeRow);
    m_pixelSize->setEnabled(scale->isChecked());
    connect(scale, &QCheckBox::toggled, m_pixelSize, &QComboBox::setEnabled);
    pictures->addStretch(1);

    QVBoxLayout *lookup = addPage(m_pages, "PreferencesLookup");
    addCheckBox(lookup, "PrefCdsOnly", QStringLiteral("SEARCH_FOR_CDS_ONLY"));
    addCheckBox(lookup, "PrefAllInOneAfterApply", QStringLiteral("ALL_IN_ONE_AFTER_APPLY"));
    auto *tokenRow = new QFormLayout;
    auto *token = new QLineEdit(this);
    token->setObjectName(QStringLiteral("discogsToken"));
    token->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    SettingBinding::bind(token, QStringLiteral("DISCOGS_TOKEN"));
    tokenRow->addRow(Localized::text("PrefLookupToken"), token);
    lookup->addLayout(tokenRow);
    lookup->addStretch(1);

    QVBoxLayout *columns = addPage(m_pages, "PreferencesColumns");
    columns->addWidget(new QLabel(Localized::text("PrefColumnsShown"), this));
    auto *grid = new QGridLayout;
    for (int column = 0; column < SongColumnCount; ++column) {
        const SongColumns::Definition &definition = SongColumns::definition(SongColumn(column));
        auto *box = new QCheckBox(Localized::text(definition.titleKey), this);
        box->setObjectName(QString::fromLatin1(definition.hideKey));
        SettingBinding::bind(box, QString::fromLatin1(definition.hideKey), true);
        grid->addWidget(box, column % 7, column / 7);
    }
    columns->addLayout(grid);
    columns->addStretch(1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(buttons);
}

QCheckBox *PreferencesDialog::addCheckBox(QVBoxLayout *page, const char *labelKey, const QString &key, bool inverted)
{
    auto *box = new QCheckBox(Localized::text(labelKey), this);
    box->setObjectName(key);
    SettingBinding::bind(box, key, inverted);
    page->addWidget(box);
    return box;
}

QCheckBox *PreferencesDialog::checkBoxFor(const QString &key) const
{
    return findChild<QCheckBox *>(key);
}

void PreferencesDialog::showSheet()
{
    open();
    raise();
    activateWindow();
}
