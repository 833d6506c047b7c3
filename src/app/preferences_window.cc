#include "app/preferences_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>

#include "app/core/app_context.h"
#include "app/icons.h"
#include "data/preferences.h"

namespace tw {
namespace {

constexpr int kButtonsHeight = 50;

QFont InterfaceFont(const AppContext& context, bool bold = false) {
  QFont font(context.interface_font_family.isEmpty() ? QString() : context.interface_font_family,
             10);
  font.setBold(bold);
  return font;
}

QString CountLine(int count) { return "(" + QString::number(count) + " items selected)"; }

}  // namespace

PreferencesWindow* PreferencesWindow::Open(AppContext& context, const Options& options) {
  auto* window = new PreferencesWindow(context, options);
  if (auto stored = ReadPreferenceTexts(context.paths, context.catalogue)) window->Fill(*stored);
  if (options.opener) options.opener->setEnabled(false);
  window->show();
  return window;
}

PreferencesWindow::PreferencesWindow(AppContext& context, const Options& options)
    : QWidget(nullptr, Qt::Window), context_(context), options_(options) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Tunewright - Preferences");
  setMinimumSize(550, 345);
  if (options.opener) {
    resize(options.opener->size());
    move(options.opener->pos() + QPoint(40, 40));
  } else {
    resize(680, 440);
  }
  Build();
}

void PreferencesWindow::Build() {
  const int w = width();
  auto button = [&](const QString& text, int x, void (PreferencesWindow::*handler)()) {
    auto* b = new QPushButton(text, this);
    b->setGeometry(x, 10, 100, 30);
    b->setFont(InterfaceFont(context_));
    connect(b, &QPushButton::clicked, this, handler);
    return b;
  };
  default_button_ = button("Default", 10, &PreferencesWindow::RestoreDefaults);
  apply_button_ = button("Apply", w - 250, &PreferencesWindow::Apply);
  cancel_button_ = button("Cancel", w - 130, &PreferencesWindow::Cancel);

  area_ = new QScrollArea(this);
  content_ = new QWidget;
  area_->setWidget(content_);
  area_->setWidgetResizable(false);

  const SettingsCatalogue& catalogue = context_.catalogue;
  rows_.resize(catalogue.size());
  int y = 20;
  int group_height = 0;
  QGroupBox* frame = nullptr;
  for (size_t i = 0; i < catalogue.size(); ++i) {
    const SettingDef& entry = catalogue[i];
    Row& row = rows_[i];
    if (!entry.group.isEmpty()) {
      if (y != 20) y += 30;
      frame = new QGroupBox(entry.group, content_);
      frame->setFont(InterfaceFont(context_, true));
      frame->move(10, y - 10);
      row.frame = frame;
      group_height = 60;
      y += 10;
    }
    const int top = y;
    row.label = new QLabel(entry.name, content_);
    row.label->setGeometry(20, y + 5, 230, 30);
    row.label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    row.label->setFont(InterfaceFont(context_));
    QWidget* control = nullptr;
    switch (entry.kind) {
      case SettingKind::kFolder: {
        row.folder = new QLineEdit(entry.default_value, content_);
        row.folder->setReadOnly(true);
        row.folder_button = new QToolButton(content_);
        row.folder_button->setIcon(MakeIcon(IconId::kFolder, options_.dark_background));
        row.folder_button->setIconSize(QSize(16, 16));
        row.folder_button->setToolTip("Choose folder");
        connect(row.folder_button, &QToolButton::clicked, this, [this, i] { ChooseFolder(i); });
        control = row.folder;
        y += 45;
        group_height += 45;
        break;
      }
      case SettingKind::kManyOf: {
        row.list = new QListWidget(content_);
        row.list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        row.list->addItems(OfferedValues(entry));
        row.label->setText(entry.name + "\n" + CountLine(0));
        connect(row.list, &QListWidget::itemSelectionChanged, this, [this, i] { UpdateCount(i); });
        control = row.list;
        y += 135;
        group_height += 160;
        break;
      }
      case SettingKind::kOneOf: {
        row.choice = new QComboBox(content_);
        row.choice->setEditable(false);
        row.choice->addItems(entry.values.split(','));
        row.choice->setCurrentText(entry.default_value);
        control = row.choice;
        y += 45;
        group_height += 45;
        break;
      }
    }
    control->setToolTip(entry.help);
    control->move(260, top);
    if (row.folder_button) row.folder_button->move(w - 70, top);
    if (frame) frame->resize(frame->width(), group_height);
  }
  LayOut();
}

void PreferencesWindow::LayOut() {
  const int w = width();
  const int h = height();
  apply_button_->move(w - 250, 10);
  cancel_button_->move(w - 130, 10);
  area_->setGeometry(0, kButtonsHeight, w, h - kButtonsHeight);

  int plain = 0, lists = 0, groups = 0;
  for (size_t i = 0; i < rows_.size(); ++i) {
    (context_.catalogue[i].kind == SettingKind::kManyOf ? lists : plain)++;
    if (rows_[i].frame) ++groups;
  }
  content_->resize(w - 22, 80 + 45 * plain + 135 * lists + 30 * groups);
  for (Row& row : rows_) {
    if (row.frame) row.frame->resize(w - 40, row.frame->height());
    if (row.folder) {
      row.folder->resize(w - 340, 30);
      row.folder_button->setGeometry(w - 70, row.folder->y(), 30, 30);
    }
    if (row.choice) row.choice->resize(w - 300, 30);
    if (row.list) row.list->resize(w - 300, 120);
  }
}

void PreferencesWindow::Fill(const PreferenceTexts& texts) {
  for (size_t i = 0; i < rows_.size() && i < texts.size(); ++i) {
    Row& row = rows_[i];
    const QString& text = texts[i];
    if (row.folder) row.folder->setText(text);
    if (row.choice) {
      // A hand-edited value the list does not offer is kept, so Apply does not lose it.
      if (row.choice->findText(text) < 0) row.choice->addItem(text);
      row.choice->setCurrentText(text);
    }
    if (row.list) {
      const QSignalBlocker block(row.list);
      row.list->clearSelection();
      if (!text.trimmed().isEmpty()) {
        for (const QString& value : text.split('|')) {
          for (QListWidgetItem* item : row.list->findItems(value, Qt::MatchExactly)) {
            item->setSelected(true);
          }
        }
      }
      // The label counts what is stored, even values the list no longer offers.
      row.label->setText(context_.catalogue[i].name + "\n" + CountLine(StoredValueCount(text)));
    }
  }
}

PreferenceTexts PreferencesWindow::Texts() const {
  PreferenceTexts texts;
  for (const Row& row : rows_) {
    if (row.folder) texts.push_back(row.folder->text());
    if (row.choice) texts.push_back(row.choice->currentText());
    if (row.list) {
      QStringList selected;
      for (int i = 0; i < row.list->count(); ++i) {
        if (row.list->item(i)->isSelected()) selected << row.list->item(i)->text();
      }
      texts.push_back(selected.join('|'));
    }
  }
  return texts;
}

void PreferencesWindow::UpdateCount(size_t entry) {
  Row& row = rows_[entry];
  row.label->setText(row.label->text().section('\n', 0, 0) + "\n" +
                     CountLine(static_cast<int>(row.list->selectedItems().size())));
}

void PreferencesWindow::ChooseFolder(size_t entry) {
  const QString title = entry == 0 ? "Choose the path where audiofiles are stored"
                                   : "Choose the path where sleeve files are stored";
  const QString chosen = context_.dialogs.FolderRequester(title, rows_[entry].folder->text());
  if (!chosen.isEmpty()) rows_[entry].folder->setText(chosen);
}

void PreferencesWindow::RestoreDefaults() {
  for (size_t i = 2; i < rows_.size(); ++i) {
    Row& row = rows_[i];
    if (row.choice) row.choice->setCurrentText(context_.catalogue[i].default_value);
    // A filter's default is no filter at all.
    if (row.list) row.list->clearSelection();
  }
}

void PreferencesWindow::Apply() {
  const PreferenceTexts texts = Texts();
  const QString problem = CheckPlaylistLimits(texts);
  if (!problem.isEmpty()) {
    context_.dialogs.Message("Preferences error", problem, DialogIcon::kError);
    return;
  }
  if (WritePreferenceTexts(context_.paths, context_.catalogue, texts,
                           context_.preferences.Path_audiofiles,
                           context_.databases.file_catalogue)) {
    LoadPreferences(context_.paths, context_.catalogue, context_.preferences);
  }
  Finish();
  if (options_.playlist_rows && options_.playlist_rows() > 0) {
    context_.dialogs.Message("Apply preferences",
                             "Preferences are applied to new playlists (not to the current one).",
                             DialogIcon::kInformation);
  }
}

void PreferencesWindow::Cancel() { Finish(); }

void PreferencesWindow::Finish() {
  if (finished_) return;
  finished_ = true;
  if (options_.opener) options_.opener->setEnabled(true);
  close();
}

void PreferencesWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (area_) LayOut();
}

void PreferencesWindow::closeEvent(QCloseEvent* event) {
  // The close box cancels.
  if (!finished_) {
    finished_ = true;
    if (options_.opener) options_.opener->setEnabled(true);
  }
  event->accept();
}

}  // namespace tw
