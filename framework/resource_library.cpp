#include "framework/resource_library.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QResource>

#include <algorithm>
#include <atomic>

namespace {

constexpr QRgb kMaskGreen = 0xff00ff00;
constexpr int kLargestNumber = 0xFFFF; // resource and command numbers are 16-bit

QStringList& AddedBuildDirectories()
{
    static QStringList dirs;
    return dirs;
}

// A language code becomes part of a file name: only letters, digits, '-' and
// '_' may pass, so that a code from the command line or the locale can never
// reach another folder.
bool IsPlainCode(const QString& code)
{
    if (code.isEmpty() || code.size() > 8 || !code.front().isLetter()) {
        return false;
    }
    return std::all_of(code.begin(), code.end(), [](QChar c) {
        return c.unicode() < 128 && (c.isLetterOrNumber() || c == u'-' || c == u'_');
    });
}

std::optional<int> ParseNumber(const QString& key)
{
    bool ok = false;
    const int value = key.toInt(&ok);
    if (!ok || value < 0 || value > kLargestNumber) {
        return std::nullopt;
    }
    return value;
}

std::optional<QJsonObject> ReadJsonObject(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        return std::nullopt;
    }
    return doc.object();
}

bool ParseMenuItems(const QJsonValue& value, QVector<MenuItem>& out);

bool ParseMenuItem(const QJsonValue& value, MenuItem& item)
{
    if (!value.isObject()) {
        return false;
    }
    const QJsonObject object = value.toObject();
    if (object.value(QLatin1String("separator")).toBool(false)) {
        item.separator = true;
        return true;
    }
    const QJsonValue text = object.value(QLatin1String("text"));
    if (!text.isString() || text.toString().isEmpty()) {
        return false;
    }
    item.text = text.toString();
    if (object.contains(QLatin1String("items"))) {
        return ParseMenuItems(object.value(QLatin1String("items")), item.items) &&
               !item.items.isEmpty();
    }
    const int id = object.value(QLatin1String("id")).toInt(0);
    if (id <= 0 || id > kLargestNumber) {
        return false;
    }
    item.id = id;
    return true;
}

bool ParseMenuItems(const QJsonValue& value, QVector<MenuItem>& out)
{
    if (!value.isArray()) {
        return false;
    }
    for (const QJsonValue& entry : value.toArray()) {
        MenuItem item;
        if (!ParseMenuItem(entry, item)) {
            return false;
        }
        out.append(item);
    }
    return true;
}

QImage WithGreenTransparent(QImage image)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == kMaskGreen) {
                line[x] = 0;
            }
        }
    }
    return image;
}

QList<int> NumberedFiles(const QString& dirPath, const QString& suffix)
{
    QList<int> ids;
    const QStringList names = QDir(dirPath).entryList(QDir::Files);
    for (const QString& name : names) {
        if (!name.endsWith(suffix)) {
            continue;
        }
        if (const auto id = ParseNumber(name.chopped(suffix.size()))) {
            ids.append(*id);
        }
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

template <typename Hash> QList<int> SortedKeys(const Hash& hash)
{
    QList<int> keys = hash.keys();
    std::sort(keys.begin(), keys.end());
    return keys;
}

QString UniqueRoot()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("/kaleidra-bundle-%1").arg(++counter);
}

// The bundle for `code` in `dir`: the exact name when it is there, otherwise
// the first name that differs only in case (file names are case-sensitive
// here, but language codes arrive in either case).
QString FindIn(const QString& dir, const QString& bundleName)
{
    const QDir folder(dir);
    if (dir.isEmpty() || !folder.exists()) {
        return {};
    }
    if (QFileInfo(folder.filePath(bundleName)).isFile()) {
        return folder.filePath(bundleName);
    }
    const QStringList names = folder.entryList(QDir::Files, QDir::Name);
    for (const QString& name : names) {
        if (name.compare(bundleName, Qt::CaseInsensitive) == 0) {
            return folder.filePath(name);
        }
    }
    return {};
}

} // namespace

ResourceLibrary::ResourceLibrary() = default;

ResourceLibrary::ResourceLibrary(SharedRoot) : m_sharedRoot(true) {}

ResourceLibrary::~ResourceLibrary()
{
    Unload();
}

QString ResourceLibrary::BundleName(const QString& code)
{
    return QStringLiteral("kaleidra-%1.rcc").arg(code);
}

QStringList ResourceLibrary::SearchDirectories()
{
    QStringList dirs;
    const QString appDir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    dirs.append(appDir);
    dirs.append(qEnvironmentVariable("KALEIDRA_BUNDLE_DIR"));
#ifdef KALEIDRA_BUILD_BUNDLE_DIR
    dirs.append(QStringLiteral(KALEIDRA_BUILD_BUNDLE_DIR));
#endif
    dirs.append(AddedBuildDirectories());
    if (!appDir.isEmpty()) {
        dirs.append(QDir::cleanPath(appDir + QStringLiteral("/../share/kaleidra")));
    }
    dirs.removeAll(QString());
    dirs.removeDuplicates();
    return dirs;
}

void ResourceLibrary::AddBuildDirectory(const QString& dir)
{
    if (!AddedBuildDirectories().contains(dir)) {
        AddedBuildDirectories().append(dir);
    }
}

bool ResourceLibrary::Load(const QString& code)
{
    if (!IsPlainCode(code)) {
        return false;
    }
    QString path;
    for (const QString& dir : SearchDirectories()) {
        path = FindIn(dir, BundleName(code));
        if (!path.isEmpty()) {
            break;
        }
    }
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray data = file.readAll();
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());

    // Read the tables under a root of their own first, so that a damaged
    // bundle leaves the library that was loaded before untouched.
    const QString probeRoot = UniqueRoot();
    if (data.isEmpty() || !QResource::registerResource(bytes, probeRoot)) {
        return false;
    }
    const QString base = QLatin1Char(':') + probeRoot + QStringLiteral("/kaleidra/");
    QHash<int, QString> strings;
    QHash<int, QVector<MenuItem>> menus;
    QHash<int, ToolBarSpec> toolbars;
    QJsonObject version;
    const auto read = [&]() {
        const auto stringTable = ReadJsonObject(base + QStringLiteral("strings.json"));
        const auto menuTable = ReadJsonObject(base + QStringLiteral("menus.json"));
        const auto toolbarTable = ReadJsonObject(base + QStringLiteral("toolbars.json"));
        if (!stringTable || !menuTable || !toolbarTable) {
            return false;
        }
        for (auto it = stringTable->begin(); it != stringTable->end(); ++it) {
            const auto id = ParseNumber(it.key());
            if (!id || !it.value().isString()) {
                return false;
            }
            strings.insert(*id, it.value().toString());
        }
        for (auto it = menuTable->begin(); it != menuTable->end(); ++it) {
            const auto id = ParseNumber(it.key());
            QVector<MenuItem> items;
            if (!id || !ParseMenuItems(it.value(), items)) {
                return false;
            }
            menus.insert(*id, items);
        }
        for (auto it = toolbarTable->begin(); it != toolbarTable->end(); ++it) {
            const auto id = ParseNumber(it.key());
            const QJsonObject object = it.value().toObject();
            const QJsonValue buttons = object.value(QLatin1String("buttons"));
            ToolBarSpec spec;
            spec.bitmap = object.value(QLatin1String("bitmap")).toInt(0);
            if (!id || spec.bitmap <= 0 || !buttons.isArray()) {
                return false;
            }
            for (const QJsonValue& button : buttons.toArray()) {
                const int command = button.toInt(-1);
                if (!button.isDouble() || command < 0 || command > kLargestNumber) {
                    return false;
                }
                spec.buttons.append(command);
            }
            toolbars.insert(*id, spec);
        }
        // The version record is optional; a damaged one is a damaged bundle.
        if (QFileInfo::exists(base + QStringLiteral("version.json"))) {
            const auto record = ReadJsonObject(base + QStringLiteral("version.json"));
            if (!record) {
                return false;
            }
            version = *record;
        }
        return true;
    };
    if (!read()) {
        QResource::unregisterResource(bytes, probeRoot);
        return false;
    }

    Unload();
    m_data = data; // shares the buffer that is registered
    m_root = probeRoot;
    // A root of its own does not hide a bundle from plain ":/kaleidra/" paths
    // (Qt tries every registered bundle), so the library itself always reads
    // through its own root; the program's library is also mapped at the plain
    // root for code that uses resource paths directly.
    if (m_sharedRoot && !QResource::registerResource(bytes)) {
        Unload();
        return false;
    }
    m_path = QFileInfo(path).absoluteFilePath();
    m_code = code;
    m_strings = std::move(strings);
    m_menus = std::move(menus);
    m_toolbars = std::move(toolbars);
    m_version = std::move(version);
    return true;
}

void ResourceLibrary::Unload()
{
    if (!m_data.isEmpty()) {
        const auto* bytes = reinterpret_cast<const uchar*>(m_data.constData());
        QResource::unregisterResource(bytes, m_root);
        if (m_sharedRoot) {
            QResource::unregisterResource(bytes);
        }
    }
    m_data.clear();
    m_root.clear();
    m_path.clear();
    m_code.clear();
    m_strings.clear();
    m_menus.clear();
    m_toolbars.clear();
    m_version = QJsonObject();
}

QString ResourceLibrary::ResourcePath(const QString& relative) const
{
    return QLatin1Char(':') + m_root + QStringLiteral("/kaleidra/") + relative;
}

QString ResourceLibrary::String(int id) const
{
    return m_strings.value(id);
}

QString ResourceLibrary::StatusText(int id) const
{
    return String(id).section(QLatin1Char('\n'), 0, 0);
}

QString ResourceLibrary::ToolTip(int id) const
{
    return String(id).section(QLatin1Char('\n'), 1);
}

QString ResourceLibrary::DocString(int id, int field) const
{
    return String(id).split(QLatin1Char('\n')).value(field);
}

QVector<MenuItem> ResourceLibrary::Menu(int id) const
{
    return m_menus.value(id);
}

std::optional<ToolBarSpec> ResourceLibrary::ToolBar(int id) const
{
    const auto it = m_toolbars.constFind(id);
    if (it == m_toolbars.constEnd()) {
        return std::nullopt;
    }
    return *it;
}

QImage ResourceLibrary::Bitmap(int id) const
{
    if (!IsLoaded()) {
        return {};
    }
    return QImage(ResourcePath(QStringLiteral("bitmaps/%1.png").arg(id)));
}

QVector<QPixmap> ResourceLibrary::ImageList(int id, int width) const
{
    const QImage strip = Bitmap(id);
    if (strip.isNull() || width <= 0) {
        return {};
    }
    const QImage masked = WithGreenTransparent(strip);
    QVector<QPixmap> images;
    for (int i = 0; i < masked.width() / width; ++i) {
        images.append(QPixmap::fromImage(masked.copy(i * width, 0, width, masked.height())));
    }
    return images;
}

QIcon ResourceLibrary::Icon(int id) const
{
    if (!IsLoaded()) {
        return {};
    }
    const QImage image(ResourcePath(QStringLiteral("icons/%1.png").arg(id)));
    if (image.isNull()) {
        return {};
    }
    return QIcon(QPixmap::fromImage(WithGreenTransparent(image)));
}

QString ResourceLibrary::ManualPath() const
{
    if (!IsLoaded()) {
        return {};
    }
    return ResourcePath(QStringLiteral("manual/index.html"));
}

QString ResourceLibrary::ExtractManual(const QString& dir) const
{
    if (!IsLoaded() || !QDir().mkpath(dir)) {
        return {};
    }
    const QString source = ResourcePath(QStringLiteral("manual"));
    const QDir sourceDir(source);
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = QDir(dir).filePath(sourceDir.relativeFilePath(from));
        QFile in(from);
        QFile out(to);
        if (!QDir().mkpath(QFileInfo(to).absolutePath()) || !in.open(QIODevice::ReadOnly) ||
            !out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            out.write(in.readAll()) != in.size()) {
            return {};
        }
    }
    const QString entry = QDir(dir).filePath(QStringLiteral("index.html"));
    return QFileInfo::exists(entry) ? entry : QString();
}

QList<int> ResourceLibrary::StringIds() const
{
    return SortedKeys(m_strings);
}

QList<int> ResourceLibrary::MenuIds() const
{
    return SortedKeys(m_menus);
}

QList<int> ResourceLibrary::ToolBarIds() const
{
    return SortedKeys(m_toolbars);
}

QList<int> ResourceLibrary::BitmapIds() const
{
    return IsLoaded()
               ? NumberedFiles(ResourcePath(QStringLiteral("bitmaps")), QStringLiteral(".png"))
               : QList<int>();
}

QList<int> ResourceLibrary::IconIds() const
{
    return IsLoaded() ? NumberedFiles(ResourcePath(QStringLiteral("icons")), QStringLiteral(".png"))
                      : QList<int>();
}

ResourceLibrary& ResourceLibrary::Instance()
{
    // Never destroyed: the resource registry may be gone by the time static
    // objects are torn down.
    static ResourceLibrary* library = new ResourceLibrary(SharedRoot{});
    return *library;
}

QString Tr(int id)
{
    return ResourceLibrary::Instance().String(id);
}
