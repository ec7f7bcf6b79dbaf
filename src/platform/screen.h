#pragma once
// The screen as the windows see it: size and work area in twips, logical dpi.
namespace fd {

class Screen {
 public:
  virtual ~Screen() = default;
  virtual double widthTwips() const = 0;
  virtual double heightTwips() const = 0;
  virtual double workWidthTwips() const = 0;
  virtual double workHeightTwips() const = 0;
  // Where the work area starts (a panel along the top or left moves it).
  virtual double workLeftTwips() const = 0;
  virtual double workTopTwips() const = 0;
  virtual double dpi() const = 0;
  double twipsPerPixel() const { return 1440.0 / dpi(); }
};

class QtScreen final : public Screen {
 public:
  double widthTwips() const override;
  double heightTwips() const override;
  double workWidthTwips() const override;
  double workHeightTwips() const override;
  double workLeftTwips() const override;
  double workTopTwips() const override;
  double dpi() const override;
};

class FakeScreen final : public Screen {
 public:
  // The offscreen platform: 800 x 600 pixels at 96 dpi, work area the whole screen.
  double w = 12000, h = 9000, workW = 12000, workH = 9000, workX = 0, workY = 0, dots = 96;
  double widthTwips() const override { return w; }
  double heightTwips() const override { return h; }
  double workWidthTwips() const override { return workW; }
  double workHeightTwips() const override { return workH; }
  double workLeftTwips() const override { return workX; }
  double workTopTwips() const override { return workY; }
  double dpi() const override { return dots; }
};

}  // namespace fd
