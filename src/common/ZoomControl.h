#pragma once
// The zoom percent that the map commands read and set (100 is the raster's own size). In the
// program it is the tool bar's zoom editor (ZoomEd), where the user may also change it.
class ZoomControl {
public:
    static constexpr int Minimum = 25; // lowest percent the zoom commands set
    static constexpr int Maximum = 200;
    static constexpr int Step = 25;

    virtual ~ZoomControl() = default;
    virtual int percent() const = 0;
    virtual void setPercent(int percent) = 0;
};
