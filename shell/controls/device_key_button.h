#pragma once
// A key or LED of a device picture: a push button that can be lit with a live light colour (the light
// image tinted with the colour at an alpha) and can show a key-set mark.
#include <QImage>
#include <QPushButton>

#include <cstdint>

namespace zq::ui {
class Skin;
}

namespace zq::controls {

// The legend's colour on a key of this colour: dark on a light key, light on a dark one.
QColor legendColourOn(QColor background);

class DeviceKeyButton : public QPushButton {
    Q_OBJECT
    // Names as the layouts spell the attributes.
    Q_PROPERTY(QString lightimage READ lightImage WRITE setLightImage)
    Q_PROPERTY(QString keysetimage READ keySetImage WRITE setKeySetImage)
    Q_PROPERTY(QString gmnametextcolor READ nameTextColour WRITE setNameTextColour)
    // The light overlay the facade sets (Control::setLight, setChangerColor, setChangerAlpha).
    Q_PROPERTY(uint lightColour READ lightColour WRITE setLightColour)
    Q_PROPERTY(int lightAlpha READ lightAlpha WRITE setLightAlpha)
    Q_PROPERTY(bool lit READ isLit WRITE setLit)
    Q_PROPERTY(bool keySetOff READ keySetOff WRITE setKeySetOff)

public:
    static constexpr std::uint32_t kInitialLightColour = 0x0000FF;
    static constexpr int kInitialLightAlpha = 200;

    // The skin resolves the light and key-set pictures the layout names.
    explicit DeviceKeyButton(QWidget* parent = nullptr, const ui::Skin* skin = nullptr);

    QString lightImage() const { return lightImage_; }
    void setLightImage(const QString& image);
    QString keySetImage() const { return keySetImage_; }
    void setKeySetImage(const QString& image);
    // Accepted for the layouts' sake; it changes nothing.
    QString nameTextColour() const { return nameTextColour_; }
    void setNameTextColour(const QString& colour) { nameTextColour_ = colour; }

    uint lightColour() const { return lightColour_; }
    void setLightColour(uint rgb);
    int lightAlpha() const { return lightAlpha_; }
    void setLightAlpha(int alpha);
    bool isLit() const { return lit_; }
    void setLit(bool lit);
    bool keySetOff() const { return keySetOff_; }
    void setKeySetOff(bool off);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& cached(const QString& reference, QImage& cache, QString& cacheKey) const;
    const QImage& cachedSquare(const QString& reference, int side) const;
    bool legendFits() const;

    const ui::Skin* skin_;
    QString lightImage_, keySetImage_, nameTextColour_;
    uint lightColour_ = kInitialLightColour;
    int lightAlpha_ = kInitialLightAlpha;
    bool lit_ = false;
    bool keySetOff_ = true;
    mutable QImage lightCache_, keySetCache_;
    mutable QString lightKey_, keySetKey_;
    mutable QImage squareCache_;
    mutable QString squareKey_;
};

} // namespace zq::controls
