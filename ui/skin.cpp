#include "ui/skin.h"

#include "platform/debug.h"
#include "ui/page_core.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QRegularExpression>
#include <QUiLoader>
#include <QVBoxLayout>
#include <QXmlStreamReader>

#include <cstdlib>

#ifndef ZQ_INSTALL_DATADIR
#define ZQ_INSTALL_DATADIR "/usr/local/share/zephran-q70"
#endif

namespace zq::ui {

std::string toLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

namespace {

std::map<std::string, WidgetFactory>& widgetRegistry() {
    static std::map<std::string, WidgetFactory> registry;
    return registry;
}

bool hasSkin(const QString& folder) {
    return QFileInfo::exists(folder + "/skin/res.xml");
}

// Nested sub-layouts deeper than this are a loop in the layouts, not a design.
constexpr int kMaxSubLayoutDepth = 8;

} // namespace

void registerWidgetClass(const std::string& className, WidgetFactory factory) {
    widgetRegistry()[className] = std::move(factory);
}

bool isWidgetClassRegistered(const std::string& className) {
    return widgetRegistry().count(className) != 0;
}

namespace {

// The designer plug-in folders hold nothing the layouts use, yet a loader loads every plug-in found there
// as it is made (one of them brings a whole second user-interface toolkit: megabytes and milliseconds at
// every start). As the loader's first base, this hides the application's plug-in folders while the
// loader is made; the loader puts them back.
struct PluginFoldersHidden {
    PluginFoldersHidden() {
        if (!QCoreApplication::instance()) return;
        folders = QCoreApplication::libraryPaths();
        hidden = true;
        QCoreApplication::setLibraryPaths({});
    }
    void restore() {
        if (hidden) QCoreApplication::setLibraryPaths(folders);
        hidden = false;
    }
    QStringList folders;
    bool hidden = false;
};

} // namespace

struct Skin::Loader : private PluginFoldersHidden, QUiLoader {
    explicit Loader(const Skin& skin) : skin(skin) { restore(); }
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override {
        auto& registry = widgetRegistry();
        if (auto it = registry.find(className.toStdString()); it != registry.end()) {
            QWidget* w = it->second(parent, skin);
            if (w) w->setObjectName(name);
            return w;
        }
        return QUiLoader::createWidget(className, parent, name);
    }
    const Skin& skin;
};

std::string Skin::applicationFolder() {
    if (const char* env = std::getenv("ZQ70_APP_DIR"); env && *env) return env;
    QString exeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    if (!exeDir.isEmpty() && hasSkin(exeDir)) return exeDir.toStdString();
    if (!exeDir.isEmpty()) {
        const QString relative = QDir::cleanPath(exeDir + "/../share/zephran-q70");
        if (hasSkin(relative)) return relative.toStdString();
    }
    if (hasSkin(QStringLiteral(ZQ_INSTALL_DATADIR))) return ZQ_INSTALL_DATADIR;
    return exeDir.isEmpty() ? std::string(".") : exeDir.toStdString();
}

Skin::Skin(std::string folder) : folder_(std::move(folder)), loader_(std::make_unique<Loader>(*this)) {
    const QString dir = QString::fromStdString(folder_);
    loader_->setWorkingDirectory(QDir(dir));
    QFile index(dir + "/res.xml");
    if (!index.open(QIODevice::ReadOnly)) {
        error_ = "cannot open " + folder_ + "/res.xml";
        return;
    }
    QXmlStreamReader xml(&index);
    std::string styleFile;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto attrs = xml.attributes();
        const std::string name = attrs.value("name").toString().toStdString();
        const std::string file = attrs.value("file").toString().toStdString();
        if (xml.name() == u"layout" && !name.empty() && !file.empty()) {
            if (layouts_.emplace(toLower(name), file).second) layoutOrder_.push_back(name);
        } else if (xml.name() == u"image" && !name.empty() && !file.empty()) {
            images_.emplace(toLower(name), file);
        } else if (xml.name() == u"texts") {
            textsFile_ = file;
        } else if (xml.name() == u"style") {
            styleFile = file;
        }
    }
    if (xml.hasError()) {
        error_ = folder_ + "/res.xml line " + std::to_string(xml.lineNumber()) + ": " +
                 xml.errorString().toStdString();
        return;
    }
    if (!textsFile_.empty()) {
        if (auto why = texts_.loadFile(folder_ + "/" + textsFile_)) {
            platform::debugString("language file: " + *why);
        }
    }
    if (!styleFile.empty()) {
        QFile qss(dir + "/" + QString::fromStdString(styleFile));
        if (qss.open(QIODevice::ReadOnly)) {
            QString sheet = QString::fromUtf8(qss.readAll());
            // Style sheets resolve relative urls against the working directory; pin them to the skin.
            static const QRegularExpression relativeUrl(
                QStringLiteral(R"(url\(\s*["']?(?![/:])([^"')]+)["']?\s*\))"));
            sheet.replace(relativeUrl, QStringLiteral("url(") + dir + QStringLiteral("/\\1)"));
            styleSheet_ = sheet.toStdString();
        }
    }
}

Skin::~Skin() = default;

std::optional<std::string> Skin::layoutFile(std::string_view resourceName) const {
    auto it = layouts_.find(toLower(resourceName));
    if (it == layouts_.end()) return std::nullopt;
    return folder_ + "/" + it->second;
}

std::optional<std::string> Skin::reloadTexts(const std::string& languageFile) {
    if (!languageFile.empty()) textsFile_ = languageFile;
    if (textsFile_.empty()) return std::string("the resource index names no language file");
    if (auto why = texts_.loadFile(folder_ + "/" + textsFile_)) return why;
    std::erase_if(pages_, [](const auto& p) { return p.expired(); });
    for (auto& weak : pages_)
        if (auto page = weak.lock()) page->retranslate();
    return std::nullopt;
}

std::string Skin::resolveImage(std::string_view reference) const {
    QString ref = QString::fromUtf8(reference.data(), static_cast<qsizetype>(reference.size())).trimmed();
    if (ref.isEmpty()) return {};
    static const QRegularExpression fileAttr(QStringLiteral(R"(file\s*=\s*'([^']*)')"));
    if (auto m = fileAttr.match(ref); m.hasMatch()) ref = m.captured(1);
    if (auto it = images_.find(toLower(ref.toStdString())); it != images_.end()) {
        return folder_ + "/" + it->second;
    }
    if (QFileInfo(ref).isAbsolute()) return QFileInfo::exists(ref) ? ref.toStdString() : std::string();
    const QString inSkin = QString::fromStdString(folder_) + "/" + ref;
    return QFileInfo::exists(inSkin) ? inSkin.toStdString() : std::string();
}

namespace {

bool fillSubLayouts(const Skin& skin, QUiLoader& loader, QWidget* root, std::vector<std::string>& stack,
                    std::string* why);
bool fillOne(const Skin& skin, QUiLoader& loader, QWidget* holder, std::vector<std::string>& stack,
             std::string* why);

QWidget* buildOne(const Skin& skin, QUiLoader& loader, std::string_view name, QWidget* parent,
                  std::vector<std::string>& stack, std::string* why, bool defer = false) {
    const auto file = skin.layoutFile(name);
    if (!file) {
        if (why) *why = "no layout named " + std::string(name) + " in res.xml";
        return nullptr;
    }
    QFile f(QString::fromStdString(*file));
    if (!f.open(QIODevice::ReadOnly)) {
        if (why) *why = "cannot open " + *file;
        return nullptr;
    }
    QWidget* w = loader.load(&f, parent);
    if (!w) {
        if (why) *why = *file + ": " + loader.errorString().toStdString();
        return nullptr;
    }
    if (defer) return w;
    stack.push_back(toLower(name));
    const bool filled = fillSubLayouts(skin, loader, w, stack, why);
    stack.pop_back();
    if (!filled) {
        delete w;
        return nullptr;
    }
    return w;
}

} // namespace

QWidget* Skin::buildLayout(std::string_view resourceName, QWidget* parent, std::string* why,
                           bool deferSubLayouts) const {
    std::vector<std::string> stack;
    return buildOne(*this, *loader_, resourceName, parent, stack, why, deferSubLayouts);
}

std::string Skin::pendingSubLayout(const QWidget* holder) {
    const QVariant sub = holder ? holder->property(prop::kSubLayout) : QVariant();
    return sub.isValid() ? sub.toString().toStdString() : std::string();
}

bool Skin::fillHolder(QWidget* holder, std::string* why) const {
    std::vector<std::string> stack;
    return fillOne(*this, *loader_, holder, stack, why);
}

bool Skin::layoutDefines(std::string_view resourceName, std::string_view controlName) const {
    const std::string layout = toLower(resourceName);
    if (!namesByLayout_.count(layout)) {
        auto& names = namesByLayout_[layout];
        auto& subs = subLayoutsOf_[layout];
        if (const auto file = layoutFile(layout)) {
            QFile f(QString::fromStdString(*file));
            if (f.open(QIODevice::ReadOnly)) {
                QXmlStreamReader xml(&f);
                bool inSubLayoutProperty = false;
                while (!xml.atEnd()) {
                    const auto token = xml.readNext();
                    if (token == QXmlStreamReader::StartElement && xml.name() == u"widget") {
                        names.insert(toLower(xml.attributes().value("name").toString().toStdString()));
                    } else if (token == QXmlStreamReader::StartElement && xml.name() == u"property") {
                        inSubLayoutProperty =
                            xml.attributes().value("name") == QLatin1String(prop::kSubLayout);
                    } else if (token == QXmlStreamReader::StartElement && xml.name() == u"string" &&
                               inSubLayoutProperty) {
                        subs.push_back(xml.readElementText().toStdString());
                        inSubLayoutProperty = false;
                    } else if (token == QXmlStreamReader::EndElement && xml.name() == u"property") {
                        inSubLayoutProperty = false;
                    }
                }
            }
        }
    }
    if (namesByLayout_[layout].count(toLower(controlName))) return true;
    // Copied: the recursion may add entries to the map.
    const std::vector<std::string> subs = subLayoutsOf_[layout];
    for (const auto& nested : subs)
        if (toLower(nested) != layout && layoutDefines(nested, controlName)) return true;
    return false;
}

namespace {

bool fillOne(const Skin& skin, QUiLoader& loader, QWidget* holder, std::vector<std::string>& stack,
             std::string* why) {
    const std::string name = Skin::pendingSubLayout(holder);
    if (name.empty()) return true;
    if (std::find(stack.begin(), stack.end(), toLower(name)) != stack.end() ||
        static_cast<int>(stack.size()) >= kMaxSubLayoutDepth) {
        if (why) *why = "sub-layout " + name + " includes itself";
        return false;
    }
    QWidget* child = buildOne(skin, loader, name, nullptr, stack, why);
    if (!child) return false;
    child->setWindowFlags(Qt::Widget);
    QLayout* layout = holder->layout();
    if (!layout) {
        layout = new QVBoxLayout(holder);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    layout->addWidget(child);
    holder->setProperty(prop::kSubLayout, QVariant());
    return true;
}

bool fillSubLayouts(const Skin& skin, QUiLoader& loader, QWidget* root, std::vector<std::string>& stack,
                    std::string* why) {
    for (QWidget* holder : root->findChildren<QWidget*>())
        if (!fillOne(skin, loader, holder, stack, why)) return false;
    return true;
}

} // namespace

void Skin::attach(const std::shared_ptr<PageCore>& page) const {
    std::erase_if(pages_, [](const auto& p) { return p.expired(); });
    pages_.push_back(page);
}

} // namespace zq::ui
