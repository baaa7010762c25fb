#pragma once
// TSectorSettings: three coloured sectors of a gauge's range. Bounds are
// positions in parts per thousand of the value range (0 = its start, 1000 =
// its end), both ends inclusive; sectors may overlap or leave gaps.
// Offset and WidthOffset are only stored, for painters that draw sectors.

#include <cstdint>

#include "kv/core/kv_persistent.h"
#include "platform/core/events.h"
#include "platform/core/types.h"

// A value entered (Enter true) or left a sector; exactly one of the three
// sector flags is set, naming the sector.
using TSectorChangeEvent = TEvent<TObject*, bool, bool, bool, bool>;
Q_DECLARE_METATYPE(TSectorChangeEvent)

class TSectorSettings : public TKvPersistent {
  Q_OBJECT
  Q_PROPERTY(TColor Sector1Color READ Sector1Color WRITE SetSector1Color)
  Q_PROPERTY(int Sector1From READ Sector1From WRITE SetSector1From)
  Q_PROPERTY(int Sector1To READ Sector1To WRITE SetSector1To)
  Q_PROPERTY(TColor Sector2Color READ Sector2Color WRITE SetSector2Color)
  Q_PROPERTY(int Sector2From READ Sector2From WRITE SetSector2From)
  Q_PROPERTY(int Sector2To READ Sector2To WRITE SetSector2To)
  Q_PROPERTY(TColor Sector3Color READ Sector3Color WRITE SetSector3Color)
  Q_PROPERTY(int Sector3From READ Sector3From WRITE SetSector3From)
  Q_PROPERTY(int Sector3To READ Sector3To WRITE SetSector3To)
  Q_PROPERTY(int Offset READ Offset WRITE SetOffset)
  Q_PROPERTY(int WidthOffset READ WidthOffset WRITE SetWidthOffset)
  Q_CLASSINFO("default:Sector1Color", "65535")
  Q_CLASSINFO("default:Sector1From", "0")
  Q_CLASSINFO("default:Sector1To", "333")
  Q_CLASSINFO("default:Sector2Color", "32768")
  Q_CLASSINFO("default:Sector2From", "334")
  Q_CLASSINFO("default:Sector2To", "666")
  Q_CLASSINFO("default:Sector3Color", "255")
  Q_CLASSINFO("default:Sector3From", "667")
  Q_CLASSINFO("default:Sector3To", "1000")

 public:
  Q_INVOKABLE explicit TSectorSettings(QObject* parent = nullptr) : TKvPersistent(parent) {}
  ~TSectorSettings() override = default;

  TColor Sector1Color() const { return color_[0]; }
  void SetSector1Color(TColor value) { SetColor(0, value); }
  int32_t Sector1From() const { return from_[0]; }
  void SetSector1From(int32_t value) { SetBound(from_[0], value); }
  int32_t Sector1To() const { return to_[0]; }
  void SetSector1To(int32_t value) { SetBound(to_[0], value); }
  TColor Sector2Color() const { return color_[1]; }
  void SetSector2Color(TColor value) { SetColor(1, value); }
  int32_t Sector2From() const { return from_[1]; }
  void SetSector2From(int32_t value) { SetBound(from_[1], value); }
  int32_t Sector2To() const { return to_[1]; }
  void SetSector2To(int32_t value) { SetBound(to_[1], value); }
  TColor Sector3Color() const { return color_[2]; }
  void SetSector3Color(TColor value) { SetColor(2, value); }
  int32_t Sector3From() const { return from_[2]; }
  void SetSector3From(int32_t value) { SetBound(from_[2], value); }
  int32_t Sector3To() const { return to_[2]; }
  void SetSector3To(int32_t value) { SetBound(to_[2], value); }
  int32_t Offset() const { return offset_; }
  void SetOffset(int32_t value) { SetBound(offset_, value); }
  int32_t WidthOffset() const { return widthOffset_; }
  void SetWidthOffset(int32_t value) { SetBound(widthOffset_, value); }

  // Sector k (0, 1, 2) by index, for code that walks the three in turn.
  TColor SectorColor(int k) const { return color_[k]; }
  bool InSector(int k, int32_t position) const { return from_[k] <= position && position <= to_[k]; }

  // The colour of the first sector (1, 2, 3) that contains `position`, into
  // `color`, and true; false with `color` untouched when none does.
  bool CheckSectorColor(int32_t position, TColor& color) const;

  // Into another sector settings object through its setters: the three
  // colours, the three starts, the three ends. Offset, WidthOffset and
  // LogScale stay. Any other destination raises the assignment error.
  void AssignTo(TPersistent* Dest) override;

  // Set directly by the owning gauge while its scale is logarithmic.
  bool LogScale = false;

 private:
  void SetColor(int k, TColor value);
  void SetBound(int32_t& field, int32_t value);

  TColor color_[3] = {clYellow, clGreen, clRed};
  int32_t from_[3] = {0, 334, 667};
  int32_t to_[3] = {333, 666, 1000};
  int32_t offset_ = 0;
  int32_t widthOffset_ = 0;
};
