#pragma once
// A progress shown as a ring: the background disc, the done part as a pie in the foreground colour
// from six o'clock clockwise, a white centre.
#include <QProgressBar>

namespace zq::controls {

class CircleProgress : public QProgressBar {
    Q_OBJECT
    Q_PROPERTY(uint bkcolor READ backgroundColour WRITE setBackgroundColour)
    Q_PROPERTY(uint forecolor READ foregroundColour WRITE setForegroundColour)
public:
    static constexpr int kCentreInset = 10;
    explicit CircleProgress(QWidget* parent = nullptr);

    uint backgroundColour() const { return background_; }
    void setBackgroundColour(uint argb);
    uint foregroundColour() const { return foreground_; }
    void setForegroundColour(uint argb);
    // The swept angle in degrees for the current value (0..360).
    double sweepDegrees() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    uint background_ = 0xFF3A3F4B;
    uint foreground_ = 0xFF00B4D8;
};

} // namespace zq::controls
