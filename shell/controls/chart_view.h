#pragma once
// A chart of named values: a pie with an optional legend, or bars ("histpgram") drawn with pillar and
// shadow pictures when the layout names them.
#include <QString>
#include <QWidget>

#include <array>
#include <vector>

namespace zq::ui {
class Skin;
}

namespace zq::controls {

class ChartView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString view READ view WRITE setView)
    Q_PROPERTY(bool showtext READ showText WRITE setShowText)
    Q_PROPERTY(bool showhtml READ showHtml WRITE setShowHtml)
    Q_PROPERTY(QString shadowimage MEMBER shadowImage_)
    Q_PROPERTY(int shadowimageheight MEMBER shadowImageHeight_)
    Q_PROPERTY(QString pillarimage MEMBER pillarImage_)
    Q_PROPERTY(int pillarimagewidth MEMBER pillarImageWidth_)
    Q_PROPERTY(int font MEMBER fontIndex_)
public:
    struct Item {
        QString text;
        double value = 0;
    };
    // The pie's item colours, repeated for more items.
    static constexpr std::array<unsigned, 18> kPalette = {
        0xFF00B4D8, 0xFFFF6B6B, 0xFFFFD166, 0xFF06D6A0, 0xFF8E7DFF, 0xFFF78C6B,
        0xFF4CC9F0, 0xFFEF476F, 0xFF83C5BE, 0xFFB5179E, 0xFF90BE6D, 0xFFF9C74F,
        0xFF577590, 0xFFF3722C, 0xFF43AA8B, 0xFFCDB4DB, 0xFF9D4EDD, 0xFFADB5BD};
    static constexpr int kLegendWidth = 100;
    static constexpr int kLegendRow = 22;
    static constexpr int kLegendSwatch = 18;
    static constexpr int kMargin = 5;

    // The skin resolves the pillar and shadow pictures the layout names.
    explicit ChartView(QWidget* parent = nullptr, const ui::Skin* skin = nullptr);

    void addItem(const QString& text, double value);
    void clearItems();
    const std::vector<Item>& items() const { return items_; }

    QString view() const { return view_; }
    void setView(const QString& view);
    bool isPie() const { return view_.compare(QLatin1String("histpgram"), Qt::CaseInsensitive) != 0; }
    bool showText() const { return showText_; }
    void setShowText(bool on);
    bool showHtml() const { return showHtml_; }
    void setShowHtml(bool on) { showHtml_ = on; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintPie(class QPainter& p);
    void paintBars(class QPainter& p);

    std::vector<Item> items_;
    QString view_ = QStringLiteral("pie");
    bool showText_ = false;
    bool showHtml_ = false;
    const ui::Skin* skin_;
    QString shadowImage_, pillarImage_;
    int shadowImageHeight_ = 0;
    int pillarImageWidth_ = 0;
    int fontIndex_ = -1;
};

} // namespace zq::controls
