#include "picker/folder_picker.h"

#include "platform/widgets.h"
#include "core/text.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

// A closed yellow folder.
static const char* const folder_closed_xpm[] = {
    "16 16 9 1",
    "  c None",
    "# c #6b4f00",
    "a c #ffe680",
    "b c #ffd42a",
    "c c #e0b000",
    "d c #fff7cc",
    "e c #b08a00",
    "f c #fff0a0",
    "g c #9a9a9a",
    "                ",
    "                ",
    "  ####          ",
    " #ffff#         ",
    "#ffffff######   ",
    "#dddddddddddd#  ",
    "#daaaaaaaaaab#g ",
    "#dabbbbbbbbbc#g ",
    "#dabbbbbbbbbc#g ",
    "#dabbbbbbbbbc#g ",
    "#dabbbbbbbbbc#g ",
    "#dbbbbbbbbbbc#g ",
    "#ecccccccccce#g ",
    "##############g ",
    " ggggggggggggg  ",
    "                ",
};

// The same folder opened, a sheet showing inside.
static const char* const folder_open_xpm[] = {
    "16 16 11 1",
    "  c None",
    "# c #6b4f00",
    "a c #ffe680",
    "b c #ffd42a",
    "c c #e0b000",
    "d c #fff7cc",
    "e c #b08a00",
    "f c #fff0a0",
    "g c #9a9a9a",
    "h c #c99a00",
    "i c #fcfcf4",
    "                ",
    "                ",
    "  ####          ",
    " #ffff######    ",
    " #hhhhhhhhhh#   ",
    " #hiiiiiiiih#   ",
    " #hiiiiiiiih#   ",
    " #h#############",
    " #h#dddddddddd#g",
    " ##dabbbbbbbbc#g",
    " #dabbbbbbbbc#g ",
    " #dbbbbbbbbbc#g ",
    "#dbbbbbbbbbc#g  ",
    "#ecccccccccc#g  ",
    "#############g  ",
    " gggggggggggg   ",
};

// A closed folder with a padlock: the folder cannot be read.
static const char* const folder_locked[] = {
    "16 16 10 1",
    "  c None",
    "# c #6b4f00",
    "a c #ffe680",
    "b c #ffd42a",
    "c c #e0b000",
    "d c #fff7cc",
    "e c #b08a00",
    "g c #9a9a9a",
    "k c #505050",
    "l c #c8c8c8",
    "                ",
    "                ",
    "  ####          ",
    " #aaaa#         ",
    "#aaaaaa######   ",
    "#dddddddddddd#  ",
    "#daaaaaaaaaab#g ",
    "#dabbbbbbbkkk#g ",
    "#dabbbbbbkbbbk#g",
    "#dabbbbbbkbbbk#g",
    "#dabbbbbkkkkkkk ",
    "#dbbbbbbklllllk ",
    "#ecccccckllkllk ",
    "########kllkllk ",
    " gggggggklllllk ",
    "        kkkkkkk ",
};

// A sheet of paper.
static const char* const pix_file[] = {
    "16 16 7 1",
    "  c None",
    "# c #404040",
    "w c #ffffff",
    "x c #d0d0d0",
    "y c #8088a8",
    "g c #9a9a9a",
    "z c #eeeef4",
    "                ",
    "  #########     ",
    "  #wwwwwww##    ",
    "  #wwwwwww#x#   ",
    "  #wyyyyww#xx#  ",
    "  #wwwwwww####  ",
    "  #wyyyyyyyyw#g ",
    "  #wwwwwwwwww#g ",
    "  #wyyyyyyyyw#g ",
    "  #wwwwwwwwww#g ",
    "  #wyyyyyyyyw#g ",
    "  #wwwwwwwwww#g ",
    "  #wyyyyyzzzw#g ",
    "  #zzzzzzzzzz#g ",
    "  ############g ",
    "   gggggggggggg ",
};

// Subfolders only, hidden ones too, never a link: a link would show a folder twice
// or lead in a circle.
constexpr QDir::Filters folderFilter = QDir::Dirs | QDir::NoSymLinks | QDir::Hidden | QDir::NoDotAndDotDot;

}  // namespace

QPixmap* DirectoryView::folderLocked = nullptr;
QPixmap* DirectoryView::folderClosed = nullptr;
QPixmap* DirectoryView::folderOpen = nullptr;
QPixmap* DirectoryView::fileNormal = nullptr;

Directory::Directory(QTreeWidget* parent, const QString& name)
    : QTreeWidgetItem(parent, Type), folderName(name), parentFolder(nullptr),
      readable(QDir(fullName()).isReadable()),
      dirsOnly(static_cast<DirectoryView*>(parent)->showDirsOnly())
{
    setText(0, name);
    setChildIndicatorPolicy(readable ? ShowIndicator : DontShowIndicator);
    setPixmap(readable ? DirectoryView::folderClosed : DirectoryView::folderLocked);
}

// Creating a row only asks whether the folder may be read; nothing is listed until it opens.
Directory::Directory(Directory* parent, const QString& name)
    : QTreeWidgetItem(parent, Type), folderName(name), parentFolder(parent),
      readable(QDir(fullName()).isReadable()), dirsOnly(parent->dirsOnly)
{
    setText(0, name);
    setChildIndicatorPolicy(readable ? ShowIndicator : DontShowIndicator);
    setPixmap(readable ? DirectoryView::folderClosed : DirectoryView::folderLocked);
}

QString Directory::fullName() const
{
    if (!parentFolder)
        return folderName;
    return parentFolder->fullName() + folderName + "/";
}

QVariant Directory::data(int column, int role) const
{
    if (column > 0 && role == Qt::DisplayRole)
        return readable ? QStringLiteral("Directory") : QStringLiteral("Unreadable Directory");
    if (column == 0 && role == Qt::DecorationRole)
        return pix ? QVariant(QIcon(*pix)) : QVariant();
    return QTreeWidgetItem::data(column, role);
}

void Directory::setPixmap(QPixmap* pixmap)
{
    pix = pixmap;
    emitDataChanged();
}

void Directory::setOpen(bool open)
{
    if (open) {
        list();
        if (!readable)
            return;
    }
    setExpanded(open);
    if (open)
        opened();
    else
        closed();
}

void Directory::opened()
{
    list();
    if (!readable) {
        setExpanded(false);
        return;
    }
    setPixmap(DirectoryView::folderOpen);
}

void Directory::closed()
{
    setPixmap(readable ? DirectoryView::folderClosed : DirectoryView::folderLocked);
}

// A folder is listed once; later openings show the rows from then.
void Directory::list()
{
    if (listed || !readable)
        return;
    QDir folder(fullName());
    folder.setFilter(folderFilter);
    folder.setSorting(QDir::Name | QDir::IgnoreCase);
    if (!folder.isReadable()) {
        readable = false;
        setChildIndicatorPolicy(DontShowIndicator);
        setPixmap(DirectoryView::folderLocked);
        return;
    }
    listed = true;
    QTreeWidget* view = treeWidget();
    const bool updates = view && view->updatesEnabled();
    if (view)
        view->setUpdatesEnabled(false);
    for (const QString& name : folder.entryList())
        new Directory(this, name);
    setChildIndicatorPolicy(DontShowIndicatorWhenChildless);
    if (view)
        view->setUpdatesEnabled(updates);
}

DirectoryView::DirectoryView(QWidget* parent, const char* name, bool dirsOnly)
    : QTreeWidget(parent), dirsOnly(dirsOnly)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    if (!folderLocked) {
        folderLocked = new QPixmap(folder_locked);
        folderClosed = new QPixmap(folder_closed_xpm);
        folderOpen = new QPixmap(folder_open_xpm);
        fileNormal = new QPixmap(pix_file);
    }
    setDragEnabled(false);
    setAcceptDrops(false);
    connect(this, &QTreeWidget::itemExpanded, this, [](QTreeWidgetItem* item) {
        if (item->type() == Directory::Type)
            static_cast<Directory*>(item)->opened();
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [](QTreeWidgetItem* item) {
        if (item->type() == Directory::Type)
            static_cast<Directory*>(item)->closed();
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { slotFolderSelected(item); });
}

QString DirectoryView::fullPath(QTreeWidgetItem* item) const
{
    if (!item)
        return QString();
    QString path = item->text(0);
    for (QTreeWidgetItem* up = item->parent(); up; up = up->parent()) {
        if (up->parent())
            path = up->text(0) + "/" + path;
        else
            path = up->text(0) + path;
    }
    return path;
}

// Walks down from the root through the children of each matched folder, so only the
// folders on the path are listed. A part that matches nothing leaves the last match current.
void DirectoryView::setDir(const QString& path)
{
    QTreeWidgetItem* root = topLevelItem(0);
    if (!root)
        return;
    for (int i = 1; i < topLevelItemCount(); ++i)
        topLevelItem(i)->setExpanded(false);
    collapseBelow(root);
    auto* current = static_cast<Directory*>(root);
    current->setOpen(true);
    // The tree shows no links: a path through one is shown where it really leads.
    const QString real = QFileInfo(path).canonicalFilePath();
    const QStringList parts = QDir::cleanPath(real.isEmpty() ? path : real).split('/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        Directory* match = nullptr;
        for (int i = 0; i < current->childCount() && !match; ++i)
            if (current->child(i)->text(0) == part)
                match = static_cast<Directory*>(current->child(i));
        if (!match)
            break;
        match->setOpen(true);
        current = match;
    }
    setCurrentItem(current);
    scrollToItem(current);
}

void DirectoryView::collapseBelow(QTreeWidgetItem* item)
{
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem* child = item->child(i);
        if (child->isExpanded()) {
            collapseBelow(child);
            child->setExpanded(false);
        }
    }
}

void DirectoryView::slotFolderSelected(QTreeWidgetItem* item)
{
    if (item && dirsOnly && item->type() == Directory::Type)
        emit folderSelected(static_cast<Directory*>(item)->fullName());
}

// Return chooses nothing by itself; only "Select" ends the picker.
void DirectoryView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        slotFolderSelected(currentItem());
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

QString MyDialog::getDirectory()
{
    auto* dialog = new ZBaseDialog(nullptr, nullptr, true);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* view = new DirectoryView(dialog, nullptr, true);
    view->setHeaderLabels({QStringLiteral("Directory")});
    view->header()->hide();
    view->setIndentation(10);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    const QFileInfoList roots = QDir::drives();
    for (const QFileInfo& root : roots) {
        auto* row = new Directory(view, root.filePath());
        if (roots.size() == 1)
            row->setOpen(true);
    }
    view->setDir("/");
    layout->addWidget(view);
    dialog->addButtonRow(layout, CN("Select"), CN("Cancel"));
    dialog->resize(220, 240);

    QString result;
    if (dialog->exec() == QDialog::Accepted && view->currentItem())
        result = view->fullPath(view->currentItem());
    delete dialog;
    return result;
}
