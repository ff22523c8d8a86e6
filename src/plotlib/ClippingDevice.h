#pragma once

#include <QPaintDevice>

#include <memory>

namespace mirla {

class TClippingEngine;

/// Paints on another device and applies the painter's clip to the geometry itself, for devices
/// whose own painting ignores clipping (the SVG writer): what lies outside the clip is cut away
/// before it reaches the device.
class TClippingDevice : public QPaintDevice {
public:
    /// Paints on `target`, which must outlive this device.
    explicit TClippingDevice(QPaintDevice& target);
    ~TClippingDevice() override;
    TClippingDevice(const TClippingDevice&) = delete;
    TClippingDevice& operator=(const TClippingDevice&) = delete;

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QPaintDevice& m_target;
    std::unique_ptr<TClippingEngine> m_engine;
};

} // namespace mirla
