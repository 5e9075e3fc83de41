#include "ui/text_catalog.h"

#include <QFile>
#include <QXmlStreamReader>

namespace zq::ui {

namespace {

std::optional<std::string> parse(QXmlStreamReader& xml, std::map<std::string, std::string, std::less<>>& out,
                                 std::string& language) {
    bool sawRoot = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"texts") {
            sawRoot = true;
            language = xml.attributes().value("lang").toString().toStdString();
        } else if (xml.name() == u"text") {
            const QString id = xml.attributes().value("id").toString();
            const QString body = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (!id.isEmpty()) out[id.toStdString()] = body.toStdString();
        }
    }
    if (xml.hasError()) {
        return "line " + std::to_string(xml.lineNumber()) + ": " + xml.errorString().toStdString();
    }
    if (!sawRoot) return std::string("no <texts> element");
    return std::nullopt;
}

} // namespace

std::optional<std::string> TextCatalog::loadFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return "cannot open " + path;
    QXmlStreamReader xml(&file);
    std::map<std::string, std::string, std::less<>> texts;
    std::string language;
    if (auto error = parse(xml, texts, language)) return path + ": " + *error;
    texts_ = std::move(texts);
    language_ = std::move(language);
    return std::nullopt;
}

std::optional<std::string> TextCatalog::loadXml(std::string_view data) {
    QXmlStreamReader xml(QByteArray(data.data(), static_cast<qsizetype>(data.size())));
    std::map<std::string, std::string, std::less<>> texts;
    std::string language;
    if (auto error = parse(xml, texts, language)) return error;
    texts_ = std::move(texts);
    language_ = std::move(language);
    return std::nullopt;
}

bool TextCatalog::contains(std::string_view id) const {
    return texts_.find(id) != texts_.end();
}

std::string TextCatalog::text(std::string_view id) const {
    auto it = texts_.find(id);
    return it == texts_.end() ? std::string(id) : it->second;
}

} // namespace zq::ui
