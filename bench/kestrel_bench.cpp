// Measures the file manager against its peers, side by side in one run: each round
// runs a scenario once for Kestrel and once for its peer, and the medians are printed
// as "NAME: kestrel X s, peer Y s, ratio R".
//
//   kestrel_bench --data DIR [--runs N]
//                 [--only list,relist,startup,memory,batch,copy,stop,edit,img,properties,search,results]
//                 [--sort 0|1|2] [--verbose]
//
// DIR receives the generated folders; they are made once and reused when present.
// The programs whose memory counts run through bench_peak, which sits beside this program.
#include "mainwindow/my_widget.h"
#include "core/phonefolders.h"
#include "platform/softkeys.h"
#include "mainwindow/my_listbox.h"
#include "commands/transfer.h"
#include "properties/file_widget.h"
#include "search/f_file_8_n.h"
#include "search/search_widget.h"
#include "search/smy_listbox.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QKeyEvent>
#include <QImage>
#include <QPainter>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int bigFiles = 100000;
constexpr int bigFolders = 1000;
constexpr int homeFiles = 1000;
constexpr int homeFolders = 50;
constexpr int batchFiles = 1000;
constexpr qint64 largeSize = qint64(1) << 30;
constexpr int searchTops = 40;        // each with 49 subfolders: 2,000 folders
constexpr int searchSubfolders = 49;
constexpr int searchFolderFiles = 100;  // 200,000 files

bool verbose = false;
int onlySort = -1;  // --sort N: only that sort order in the listing scenarios
QString peakProgram, peakReport;  // bench_peak and the file it writes its figures to

double now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

[[noreturn]] void fail(const QString& why)
{
    std::fprintf(stderr, "kestrel_bench: %s\n", qPrintable(why));
    std::exit(1);
}

// Starts a program (no shell), standard output to /dev/null, waits for it and returns
// the seconds it took. posix_spawn does not copy this process's memory, so a big driver
// does not slow the child; but the child's peak memory is at least the driver's (see runMeasured).
double runProcess(const QStringList& arguments, const QString& folder = QString())
{
    std::vector<QByteArray> bytes;
    for (const QString& argument : arguments)
        bytes.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const QByteArray where = QFile::encodeName(folder);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (!verbose)
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (!folder.isEmpty())
        posix_spawn_file_actions_addchdir_np(&actions, where.constData());

    const double start = now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        fail("cannot start " + arguments.join(' '));
    int status = 0;
    waitpid(pid, &status, 0);
    const double seconds = now() - start;
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        fail(arguments.join(' ') + " did not end well");
    return seconds;
}

struct ChildRun {
    double seconds = 0;
    double peakMegabytes = 0;  // the child's own peak resident memory
};

// A program's time and its own peak memory, as bench_peak measured them: a program started
// from this process would report this process's peak whenever that was the larger.
ChildRun runMeasured(const QStringList& arguments, const QString& folder = QString())
{
    runProcess(QStringList{peakProgram, peakReport} + arguments, folder);
    QFile report(peakReport);
    if (!report.open(QIODevice::ReadOnly))
        fail("bench_peak wrote no figures");
    const QList<QByteArray> figures = report.readAll().simplified().split(' ');
    if (figures.size() != 2)
        fail("bench_peak wrote no figures");
    return {figures.at(0).toDouble(), figures.at(1).toDouble() / 1024.0};
}

struct Pair {
    std::vector<double> kestrel, peer;
};

void report(const char* name, const Pair& pair)
{
    const double k = median(pair.kestrel), p = median(pair.peer);
    std::printf("%s: kestrel %.4f s, peer %.4f s, ratio %.2f\n", name, k, p, p > 0 ? k / p : 0.0);
    if (verbose) {
        const auto [kMin, kMax] = std::minmax_element(pair.kestrel.begin(), pair.kestrel.end());
        const auto [pMin, pMax] = std::minmax_element(pair.peer.begin(), pair.peer.end());
        std::printf("  (%zu runs; kestrel %.4f..%.4f s, peer %.4f..%.4f s)\n", pair.kestrel.size(),
                    *kMin, *kMax, *pMin, *pMax);
    }
    std::fflush(stdout);
}

void reportMemory(const char* name, const Pair& pair)
{
    const double k = median(pair.kestrel), p = median(pair.peer);
    std::printf("%s: kestrel %.1f MB, peer %.1f MB, ratio %.2f, difference %+.1f MB\n", name, k, p,
                p > 0 ? k / p : 0.0, k - p);
    std::fflush(stdout);
}

// ---- data ----

void makeFile(const QString& path, off_t size, time_t modified, long nanoseconds)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        fail("cannot create " + path);
    if (ftruncate(fd, size) != 0)
        fail("cannot size " + path);
    const timespec times[2] = {{modified, nanoseconds}, {modified, nanoseconds}};
    futimens(fd, times);
    ::close(fd);
}

void makeFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        fail("cannot create " + path);
}

// Names of mixed case and type, sizes and times spread, so that every order has work to do.
void fillFolder(const QString& folder, int files, int folders)
{
    makeFolder(folder);
    static const char* const prefixes[] = {"file", "Photo_", "IMG", "song ", "Notes-", "a"};
    static const char* const types[] = {"txt", "JPG", "mp3", "jar", "3gp", "png", "tar.gz", "doc"};
    const time_t base = ::time(nullptr) - 30 * 24 * 3600;
    for (int i = 0; i < folders; ++i) {
        const QString name = QStringLiteral("%1%2").arg(i % 2 ? "Album " : "folder").arg(i, 4, 10, QLatin1Char('0'));
        makeFolder(folder + '/' + name);
    }
    for (int i = 0; i < files; ++i) {
        const QString name = QStringLiteral("%1%2.%3")
                                 .arg(prefixes[i % 6])
                                 .arg((i * 7919) % files, 6, 10, QLatin1Char('0'))
                                 .arg(types[i % 8]);
        makeFile(folder + '/' + name, off_t((i * 7907L) % 65536), base + (i * 7901L) % 500000,
                 (i * 104729L) % 1000000000L);
    }
}

QString settingsText(const QString& startFolder, int taxis)
{
    return QStringLiteral("File::%1\r\nPassWord::\r\nHide::0\r\nTaxis::%2\r\nwindow::0\r\nclick::0\r\n"
                          "Key_Enter::4100\r\nKey_Up::4115\r\nKey_Down::4117\r\nKey_Left::4114\r\n"
                          "Key_Right::4116\r\nKey_A::\r\nKey_B::\r\nKey_C::\r\nKey_D::\r\n"
                          "ImgFile::\r\nTXTFile::\r\nEFile::\r\n")
        .arg(startFolder)
        .arg(taxis);
}

void writeText(const QString& path, const QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
        fail("cannot write " + path);
}

// About 10 MB of text in lines of 60 to 90 characters, some of them not ASCII.
void makeText(const QString& path)
{
    static const char* const words[] = {"kestrel", "hovers", "over", "the", "field", "caf\u00e9",
                                        "\u65e5\u672c", "na\u00efve", "wind", "and"};
    QByteArray text;
    text.reserve(10 * 1024 * 1024 + 100);
    for (int line = 0; text.size() < 10 * 1024 * 1024; ++line) {
        const int length = 60 + line % 31;
        QByteArray row;
        for (int word = line; row.size() < length; ++word)
            row += QByteArray(words[word % 10]) + ' ';
        text += row + '\n';
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        fail("cannot write " + path);
}

// A 6000 x 4000 photo: colour bands with fine grain, so that it compresses like one.
void makePhoto(const QString& path)
{
    QImage photo(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            const int grain = int((unsigned(x * 2654435761u) ^ unsigned(y * 40503u)) >> 27);
            row[x] = qRgb((x / 23 + grain) & 255, (y / 17 + grain) & 255, ((x + y) / 31) & 255);
        }
    }
    if (!photo.save(path, "jpg", 90))
        fail("cannot write " + path);
}

// A folder of empty files whose names mix case and type; one in six holds "text".
void fillSearchFolder(const QString& folder, int number)
{
    static const char* const prefixes[] = {"file", "Photo_", "IMG", "song ", "Notes-", "Text_"};
    static const char* const types[] = {"txt", "JPG", "mp3", "jar", "3gp", "png", "tar.gz", "doc"};
    makeFolder(folder);
    for (int i = 0; i < searchFolderFiles; ++i) {
        const QString name = QStringLiteral("%1%2-%3.%4").arg(prefixes[i % 6]).arg(number).arg(i).arg(types[i % 8]);
        const int fd = ::open(QFile::encodeName(folder + '/' + name).constData(), O_WRONLY | O_CREAT, 0644);
        if (fd < 0)
            fail("cannot create " + name);
        ::close(fd);
    }
}

void makeSearchTree(const QString& root)
{
    int number = 0;
    for (int top = 0; top < searchTops; ++top) {
        const QString folder = QStringLiteral("%1/Top %2").arg(root).arg(top);
        fillSearchFolder(folder, number++);
        for (int sub = 0; sub < searchSubfolders; ++sub)
            fillSearchFolder(QStringLiteral("%1/sub%2").arg(folder).arg(sub), number++);
    }
}

// 1,000 notes of 2 KB.
void fillBatchFolder(const QString& folder)
{
    makeFolder(folder);
    const QByteArray content(2048, 'k');
    for (int i = 0; i < batchFiles; ++i) {
        QFile file(folder + QStringLiteral("/note %1.txt").arg(i, 4, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            fail("cannot write " + file.fileName());
    }
}

// 1 GB of bytes that vary, every block written: cp copies holes as holes, which takes no time.
void makeLargeFile(const QString& path)
{
    std::fprintf(stderr, "generating %s\n", qPrintable(path));
    QFile file(path + ".part");
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail("cannot write " + file.fileName());
    std::vector<quint64> block(1 << 17);
    const auto blockBytes = qint64(block.size() * sizeof(quint64));  // 1 MB
    quint64 state = 0x9e3779b97f4a7c15u;
    for (qint64 written = 0; written < largeSize; written += blockBytes) {
        for (quint64& word : block) {  // xorshift64
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            word = state;
        }
        if (file.write(reinterpret_cast<const char*>(block.data()), blockBytes) != blockBytes)
            fail("cannot write " + file.fileName());
    }
    if (!file.flush() || !QFile::rename(file.fileName(), path))
        fail("cannot write " + path);
}

struct Data {
    QString root, big, small, home, listWork, homeWork, bigWork, batchSource, batchCopies, batchMoved;
    QString large, largeCopies, text, photo, editWork, imgWork, search;

    explicit Data(const QString& folder)
        : root(QDir(folder).absolutePath()),
          big(root + "/big"),
          small(root + "/small"),
          home(root + "/home"),
          listWork(root + "/work-list"),
          homeWork(root + "/work-home"),
          bigWork(root + "/work-big"),
          batchSource(root + "/batch/source"),
          batchCopies(root + "/batch/copies"),
          batchMoved(root + "/batch/moved"),
          large(root + "/large/file-1g.bin"),
          largeCopies(root + "/large-copies"),
          text(root + "/text-10mb.txt"),
          photo(root + "/photo-24mp.jpg"),
          editWork(root + "/work-edit"),
          imgWork(root + "/work-img"),
          search(root + "/search")
    {
    }

    void generate() const
    {
        const QString done = root + "/generated";
        if (!QFileInfo::exists(done)) {
            std::fprintf(stderr, "generating %d files and %d folders in %s\n", bigFiles, bigFolders,
                         qPrintable(big));
            fillFolder(big, bigFiles, bigFolders);
            fillFolder(small, 10, 2);
            fillFolder(home, homeFiles, homeFolders);
            writeText(done, "yes\n");
        }
        if (!QFileInfo::exists(root + "/generated-batch")) {
            fillBatchFolder(batchSource);
            writeText(root + "/generated-batch", "yes\n");
        }
        if (QFileInfo(large).size() != largeSize) {
            makeFolder(QFileInfo(large).path());
            makeLargeFile(large);
        }
        if (!QFileInfo::exists(root + "/generated-search")) {
            std::fprintf(stderr, "generating %d files in %d folders in %s\n",
                         searchTops * (searchSubfolders + 1) * searchFolderFiles, searchTops * (searchSubfolders + 1),
                         qPrintable(search));
            makeSearchTree(search);
            writeText(root + "/generated-search", "yes\n");
        }
        if (!QFileInfo::exists(text))
            makeText(text);
        if (!QFileInfo::exists(photo))
            makePhoto(photo);
        for (const QString& work : {listWork, homeWork, bigWork, editWork, imgWork, batchCopies, batchMoved, largeCopies})
            makeFolder(work);
        writeText(editWork + "/system.txt", "TXTFile::" + text + "\r\n");
        writeText(imgWork + "/system.txt", "ImgFile::" + photo + "\r\n");
        writeText(homeWork + "/system.txt", settingsText(home, 0));
        writeText(bigWork + "/system.txt", settingsText(big, 0));
    }
};

// Points the phone's fixed folders into the data, so nothing outside it is touched.
void pointPhoneFolders(const Data& data)
{
    PhoneFolders& folders = handsetFolders();
    folders.card = data.small;
    folders.phoneDir = data.small;
    folders.systemDir = data.small;
    folders.setupDir = data.small;
    folders.diska = data.small;
    folders.installedDb = data.root + "/InstalledDB";
    folders.plugCardDb = data.root + "/PlugCardDB";
    folders.javaRuntime = data.root + "/kvm";
}

// ---- scenarios ----

// One main window per sort order, each with its own settings read at construction.
std::unique_ptr<My_Widget> mainWindow(const Data& data, int taxis)
{
    writeText(data.listWork + "/system.txt", settingsText(data.small, taxis));
    auto window = std::make_unique<My_Widget>(nullptr);
    window->show();
    QApplication::processEvents();
    return window;
}

// Lists a folder until its rows are in the list and the first screen is painted.
double listAndPaint(My_Widget& window, const QString& folder)
{
    const double start = now();
    window.qListBox(folder);
    window.fileList()->viewport()->repaint();
    const double seconds = now() - start;
    const int expected = bigFiles + bigFolders + 1;
    if (window.fileList()->count() != expected)
        fail(QStringLiteral("listed %1 rows, not %2").arg(window.fileList()->count()).arg(expected));
    QApplication::processEvents();
    return seconds;
}

void benchListing(const Data& data, int runs, bool first, bool again)
{
    static const char* const listNames[] = {"list-100k", "list-100k-time", "list-100k-size"};
    static const char* const relistNames[] = {"relist-100k", "relist-100k-time", "relist-100k-size"};
    static const char* const order[] = {nullptr, "-t", "-S"};
    std::unique_ptr<My_Widget> windows[3];
    const int firstSort = onlySort >= 0 ? onlySort : 0, lastSort = onlySort >= 0 ? onlySort : 2;
    for (int taxis = firstSort; taxis <= lastSort; ++taxis)
        windows[taxis] = mainWindow(data, taxis);
    Pair lists[3], relists[3];
    for (int run = -1; run < runs; ++run) {  // run -1 warms the caches and is not counted
        for (int taxis = firstSort; taxis <= lastSort; ++taxis) {
            My_Widget& window = *windows[taxis];
            QStringList ls{"/bin/ls", "-l", "--group-directories-first"};
            if (order[taxis])
                ls << order[taxis];
            ls << data.big;
            if (first) {
                window.qListBox(data.small);
                QApplication::processEvents();
                const double k = listAndPaint(window, data.big);
                const double p = runProcess(ls);
                if (run >= 0) {
                    lists[taxis].kestrel.push_back(k);
                    lists[taxis].peer.push_back(p);
                }
            }
            if (again) {
                if (window.currentFolder().absolutePath() != data.big)
                    window.qListBox(data.big);
                const double k = listAndPaint(window, data.big);
                const double p = runProcess(ls);
                if (run >= 0) {
                    relists[taxis].kestrel.push_back(k);
                    relists[taxis].peer.push_back(p);
                }
            }
        }
    }
    for (int taxis = firstSort; taxis <= lastSort; ++taxis) {
        if (first)
            report(listNames[taxis], lists[taxis]);
        if (again)
            report(relistNames[taxis], relists[taxis]);
    }
}

void benchStartup(const Data& data, int runs, const QString& programs)
{
    Pair pair;
    for (int run = -1; run < runs; ++run) {
        const double k = runProcess({programs + "/bench_startup"}, data.homeWork);
        const double p = runProcess({programs + "/bench_peer_list", data.home});
        if (run >= 0) {
            pair.kestrel.push_back(k);
            pair.peer.push_back(p);
        }
    }
    report("startup", pair);
}

void benchMemory(const Data& data, int runs, const QString& programs)
{
    Pair pair;
    for (int run = 0; run < runs; ++run) {
        pair.kestrel.push_back(runMeasured({programs + "/bench_startup"}, data.bigWork).peakMegabytes);
        pair.peer.push_back(runMeasured({programs + "/bench_peer_list", data.big}).peakMegabytes);
    }
    reportMemory("memory-100k", pair);
}

// Every entry of the folder, hidden ones included.
QStringList entriesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

void emptyFolder(const QString& folder)
{
    if (!QDir(folder).removeRecursively())
        fail("cannot empty " + folder);
    makeFolder(folder);
}

// Puts back what a move took away, outside the timing.
void moveBack(const QString& from, const QString& to)
{
    for (const QString& name : entriesIn(from))
        if (::rename(QFile::encodeName(from + '/' + name).constData(), QFile::encodeName(to + '/' + name).constData()) != 0)
            fail("cannot move back " + name);
}

void expectEntries(const QString& folder, const QStringList& names, const char* after)
{
    if (entriesIn(folder) != names)
        fail(QStringLiteral("after %1, %2 does not hold what it should").arg(after, folder));
}

// Answers every modal box with its first button as soon as it shows, and notes when the last
// one showed: a report is closed at once and a question agreed to, so only the work is timed.
class BoxAnswerer : public QObject
{
public:
    BoxAnswerer() { qApp->installEventFilter(this); }
    double lastShown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = qobject_cast<QDialog*>(watched);
        if (box && event->type() == QEvent::Show && box->isModal()) {
            lastShown = now();
            QTimer::singleShot(0, box, [box] { box->done(1); });
        }
        return false;
    }
};

// The main window on the batch folder, active, so that a job shows its progress in it and
// a key reaches it.
std::unique_ptr<My_Widget> activeMainWindow(const Data& data)
{
    writeText(data.listWork + "/system.txt", settingsText(data.batchSource, 0));
    auto window = std::make_unique<My_Widget>(nullptr);
    window->show();
    window->activateWindow();
    for (int i = 0; i < 100 && QApplication::activeWindow() != window.get(); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    if (QApplication::activeWindow() != window.get())
        std::fprintf(stderr, "kestrel_bench: the main window is not active; a job shows no progress\n");
    return window;
}

// The seconds of one batch, from the command to its closed report.
double timedBatch(const My_Widget& window, Transfer operation, const QStringList& sources, const QString& destFolder)
{
    const double start = now();
    if (!runBatch(window.messageLayer(), operation, sources, destFolder, "success"))
        fail("a batch was cancelled");
    return now() - start;
}

// The batch runner on 1,000 files of 2 KB: copied into an empty folder, deleted from there,
// and moved to another folder of the same file system, beside ONE cp -r, rm -rf and mv of
// the same files.
void benchBatches(const Data& data, int runs)
{
    moveBack(data.batchMoved, data.batchSource);  // what a stopped run left
    emptyFolder(data.batchCopies);
    const QStringList names = entriesIn(data.batchSource);
    if (names.size() != batchFiles)
        fail("the batch's files are missing");
    QStringList sources, copies;
    for (const QString& name : names) {
        sources << data.batchSource + '/' + name;
        copies << data.batchCopies + '/' + name;
    }
    const std::unique_ptr<My_Widget> window = activeMainWindow(data);
    const BoxAnswerer answerer;
    Pair copy, move, remove;
    for (int run = -1; run < runs; ++run) {  // run -1 warms the caches and is not counted
        const double kc = timedBatch(*window, Transfer::Copy, sources, data.batchCopies);
        expectEntries(data.batchCopies, names, "the copy batch");
        const double kd = timedBatch(*window, Transfer::Delete, copies, data.batchCopies);
        expectEntries(data.batchCopies, {}, "the delete batch");
        QDir(data.root + "/xdg-data/Trash").removeRecursively();
        const double pc = runProcess(QStringList{"/bin/cp", "-r"} + sources + QStringList{data.batchCopies + '/'});
        expectEntries(data.batchCopies, names, "cp -r");
        const double pd = runProcess(QStringList{"/bin/rm", "-rf"} + copies);
        expectEntries(data.batchCopies, {}, "rm -rf");

        const double km = timedBatch(*window, Transfer::Move, sources, data.batchMoved);
        expectEntries(data.batchMoved, names, "the move batch");
        expectEntries(data.batchSource, {}, "the move batch");
        moveBack(data.batchMoved, data.batchSource);
        const double pm = runProcess(QStringList{"/bin/mv"} + sources + QStringList{data.batchMoved + '/'});
        expectEntries(data.batchMoved, names, "mv");
        moveBack(data.batchMoved, data.batchSource);
        if (run >= 0) {
            copy.kestrel.push_back(kc);
            copy.peer.push_back(pc);
            move.kestrel.push_back(km);
            move.peer.push_back(pm);
            remove.kestrel.push_back(kd);
            remove.peer.push_back(pd);
        }
    }
    report("batch-copy-1000", copy);
    report("batch-move-1000", move);
    report("batch-delete-1000", remove);
}

// One 1 GB file copied into another folder of the same file system by the batch runner,
// beside cp.
void benchLargeCopy(const Data& data, int runs)
{
    emptyFolder(data.largeCopies);
    const QString name = QFileInfo(data.large).fileName();
    const std::unique_ptr<My_Widget> window = activeMainWindow(data);
    const BoxAnswerer answerer;
    Pair pair;
    for (int run = -1; run < runs; ++run) {
        const double k = timedBatch(*window, Transfer::Copy, {data.large}, data.largeCopies);
        expectEntries(data.largeCopies, {name}, "the copy");
        emptyFolder(data.largeCopies);
        const double p = runProcess({"/bin/cp", data.large, data.largeCopies + '/'});
        expectEntries(data.largeCopies, {name}, "cp");
        emptyFolder(data.largeCopies);
        if (run >= 0) {
            pair.kestrel.push_back(k);
            pair.peer.push_back(p);
        }
    }
    report("copy-1g", pair);
}

// Bytes the copy has written so far under a hidden name in the folder, or in a hidden folder there.
qint64 scratchBytes(const QString& folder)
{
    qint64 bytes = 0;
    for (const QFileInfo& entry : QDir(folder).entryInfoList({".kestrel-*"}, QDir::Files | QDir::Dirs | QDir::Hidden)) {
        if (entry.isFile())
            bytes += entry.size();
        for (QDirIterator inside(entry.filePath(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); inside.hasNext();)
            bytes += QFileInfo(inside.next()).size();
    }
    return bytes;
}

// The seconds from Stop (Escape, as the user presses it) during the 1 GB copy until its report
// shows, and whether anything was left in the destination: neither scratch nor the target
// may stay.
void benchStop(const Data& data, int runs)
{
    emptyFolder(data.largeCopies);
    const std::unique_ptr<My_Widget> window = activeMainWindow(data);
    const BoxAnswerer answerer;
    std::vector<double> seconds;
    QStringList leftBehind;
    for (int run = -1; run < runs; ++run) {
        double stoppedAt = 0;
        QTimer stopper;
        QObject::connect(&stopper, &QTimer::timeout, [&] {
            if (scratchBytes(data.largeCopies) == 0)
                return;
            stopper.stop();
            QWidget* active = QApplication::activeWindow();
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            stoppedAt = now();
            QApplication::sendEvent(active ? active : window.get(), &escape);
        });
        stopper.start(1);
        runBatch(window->messageLayer(), Transfer::Copy, {data.large}, data.largeCopies, "success");
        if (stoppedAt == 0)
            fail("the copy ended before Stop could be sent");
        if (answerer.lastShown < stoppedAt)
            fail("no report showed after Stop");
        const QStringList left = entriesIn(data.largeCopies);
        emptyFolder(data.largeCopies);
        if (run >= 0) {
            seconds.push_back(answerer.lastShown - stoppedAt);
            if (!left.isEmpty())
                leftBehind << left.join(", ");
        }
    }
    std::printf("stop-1g: kestrel %.4f s, goal 0.5 s, %s\n", median(seconds),
                leftBehind.isEmpty() ? "nothing left behind"
                                     : qPrintable(QStringLiteral("LEFT BEHIND in %1 of %2 runs: %3")
                                                      .arg(leftBehind.size())
                                                      .arg(seconds.size())
                                                      .arg(leftBehind.first())));
    if (verbose) {
        const auto [least, most] = std::minmax_element(seconds.begin(), seconds.end());
        std::printf("  (%zu runs; kestrel %.4f..%.4f s)\n", seconds.size(), *least, *most);
    }
    std::fflush(stdout);
}

// A program and its peer, each opening the same file until their first paint.
void benchOpening(const char* name, const QString& program, const QString& work, const QString& peer,
                  const QString& file, int runs, bool withMemory)
{
    Pair time, memory;
    for (int run = -1; run < runs; ++run) {
        const ChildRun k = runMeasured({program}, work);
        const ChildRun p = runMeasured({peer, file});
        if (run >= 0) {
            time.kestrel.push_back(k.seconds);
            time.peer.push_back(p.seconds);
            memory.kestrel.push_back(k.peakMegabytes);
            memory.peer.push_back(p.peakMegabytes);
        }
    }
    report(name, time);
    if (withMemory)
        reportMemory((QByteArray(name) + "-memory").constData(), memory);
}

// The properties window of the big folder until its first paint, against du -sh on it. The
// window waits a second after measuring; what that second makes of the ratio is printed too.
void benchProperties(const Data& data, int runs)
{
    Pair pair;
    for (int run = -1; run < runs; ++run) {
        const double start = now();
        FileWidget_W window(nullptr, data.big);
        window.show();
        window.repaint();
        const double k = now() - start;
        const double p = runProcess({"/usr/bin/du", "-sh", data.big});
        if (run >= 0) {
            pair.kestrel.push_back(k);
            pair.peer.push_back(p);
        }
    }
    report("properties-100k", pair);
    std::printf("  (the one-second pause after measuring is %.2f of that ratio)\n", 1.0 / median(pair.peer));
    std::fflush(stdout);
}

// A search of the card for "text" until the results window is filled and painted, beside find.
void benchSearch(const Data& data, int runs)
{
    handsetFolders().card = data.search;
    Search_Widget form(nullptr);
    form.show();
    form.findChild<QComboBox*>("CB")->setCurrentIndex(2);  // "SD card"
    form.findChild<QLineEdit*>("Edit")->setText("text");
    const int expected = searchTops * (searchSubfolders + 1) * (searchFolderFiles / 6);
    Pair pair;
    for (int run = -1; run < runs; ++run) {
        const double start = now();
        form.findChild<UTIL_CST*>()->getMidBtn()->click();
        F_File_8_N* results = form.findChildren<F_File_8_N*>().last();
        results->resultList()->viewport()->repaint();
        const double k = now() - start;
        if (results->resultList()->count() != expected)
            fail(QStringLiteral("the search found %1 files, not %2").arg(results->resultList()->count()).arg(expected));
        delete results;
        QApplication::processEvents();
        const double p = runProcess({"/usr/bin/find", data.search, "-iname", "*text*", "-type", "f"});
        if (run >= 0) {
            pair.kestrel.push_back(k);
            pair.peer.push_back(p);
        }
    }
    report("search-200k", pair);
    pointPhoneFolders(data);
}

// The results window opened on the 100,000 files of the big folder until its first paint,
// beside the main window listing that folder.
void benchResults(const Data& data, int runs)
{
    const QStringList files = QDir(data.big).entryList(QDir::Files, QDir::Unsorted);
    if (files.size() != bigFiles)
        fail("the big folder's files are missing");
    const QString names = files.join('$') + '$';
    const QStringList folders(files.size(), data.big);
    std::unique_ptr<My_Widget> window = mainWindow(data, 0);
    Pair pair;
    for (int run = -1; run < runs; ++run) {
        const double start = now();
        auto results = std::make_unique<F_File_8_N>(nullptr, names, folders);
        results->show();
        results->resultList()->viewport()->repaint();
        const double k = now() - start;
        results.reset();
        window->qListBox(data.small);
        QApplication::processEvents();
        const double p = listAndPaint(*window, data.big);
        if (run >= 0) {
            pair.kestrel.push_back(k);
            pair.peer.push_back(p);
        }
    }
    report("results-100k", pair);
}

// The offscreen platform's notices would drown the figures.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (verbose || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    for (int i = 1; i < argc; ++i)
        verbose = verbose || std::strcmp(argv[i], "--verbose") == 0;
    qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);
    QString dataFolder;
    int runs = 5;
    QStringList only{"list", "relist", "startup", "memory", "batch", "copy", "stop", "edit", "img", "properties",
                     "search", "results"};
    const QStringList arguments = QApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == "--data" && i + 1 < arguments.size())
            dataFolder = arguments.at(++i);
        else if (argument == "--runs" && i + 1 < arguments.size())
            runs = std::max(1, arguments.at(++i).toInt());
        else if (argument == "--only" && i + 1 < arguments.size())
            only = arguments.at(++i).split(',', Qt::SkipEmptyParts);
        else if (argument == "--sort" && i + 1 < arguments.size())
            onlySort = arguments.at(++i).toInt();
        else if (argument == "--verbose")
            verbose = true;
        else
            fail("usage: kestrel_bench --data DIR [--runs N] [--only list,relist,startup,memory,batch,copy,stop,"
                 "edit,img,properties,search,results] [--sort 0|1|2] [--verbose]");
    }
    if (dataFolder.isEmpty())
        fail("no --data folder given");

    const Data data(dataFolder);
    // Deleted entries go to a trash of the benchmark's own, never the user's.
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.root + "/xdg-data"));
    data.generate();
    pointPhoneFolders(data);
    QDir::setCurrent(data.listWork);
    const QString programs = QApplication::applicationDirPath();
    peakProgram = programs + "/bench_peak";
    peakReport = data.root + "/peak-report";

    if (only.contains("list") || only.contains("relist"))
        benchListing(data, runs, only.contains("list"), only.contains("relist"));
    if (only.contains("startup"))
        benchStartup(data, runs, programs);
    if (only.contains("memory"))
        benchMemory(data, runs, programs);
    if (only.contains("batch"))
        benchBatches(data, runs);
    if (only.contains("copy"))
        benchLargeCopy(data, runs);
    if (only.contains("stop"))
        benchStop(data, runs);
    if (only.contains("edit"))
        benchOpening("edit-10mb", programs + "/bench_edit", data.editWork, programs + "/bench_peer_edit", data.text,
                     runs, false);
    if (only.contains("img"))
        benchOpening("img-24mp", programs + "/bench_img", data.imgWork, programs + "/bench_peer_img", data.photo,
                     runs, true);
    if (only.contains("properties"))
        benchProperties(data, runs);
    if (only.contains("search"))
        benchSearch(data, runs);
    if (only.contains("results"))
        benchResults(data, runs);
    return 0;
}
