// Controls that show or pick a value in a range: progress bars, track bars and up-down
// arrow pairs (the system's common controls).
#pragma once

#include "forms/Controls.h"

namespace lbb::forms {

enum class TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TProgressBar(TComponent* owner);
  int64_t Min() const { return min_; }
  void SetMin(int64_t v);
  int64_t Max() const { return max_; }
  void SetMax(int64_t v);
  // Kept within [Min, Max].
  int64_t Position() const { return position_; }
  void SetPosition(int64_t v);
  int64_t Step() const { return step_; }
  void SetStep(int64_t v) { step_ = v; }
  // Moves the position by Step (wrapping to Min past Max, as the system control does).
  void StepIt();
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation v);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  void UpdateWindow();

  int64_t min_ = 0;
  int64_t max_ = 100;
  int64_t position_ = 0;
  int64_t step_ = 10;
  TProgressBarOrientation orientation_ = TProgressBarOrientation::pbHorizontal;
  bool smooth_ = false;
};

enum class TTrackBarOrientation { trHorizontal, trVertical };
enum class TTickStyle { tsNone, tsAuto, tsManual };

class TTrackBar : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TTrackBar(TComponent* owner);
  int64_t Min() const { return min_; }
  void SetMin(int64_t v);
  int64_t Max() const { return max_; }
  void SetMax(int64_t v);
  int64_t Position() const { return position_; }
  // Kept within [Min, Max]; OnChange runs when it moved.
  void SetPosition(int64_t v);
  int64_t Frequency() const { return frequency_; }
  void SetFrequency(int64_t v);
  int64_t LineSize() const { return lineSize_; }
  void SetLineSize(int64_t v);
  int64_t PageSize() const { return pageSize_; }
  void SetPageSize(int64_t v);
  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation v);
  TTickStyle TickStyle() const { return tickStyle_; }
  void SetTickStyle(TTickStyle v);
  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  void UpdateWindow();

  int64_t min_ = 0;
  int64_t max_ = 10;
  int64_t position_ = 0;
  int64_t frequency_ = 1;
  int64_t lineSize_ = 1;
  int64_t pageSize_ = 2;
  TTrackBarOrientation orientation_ = TTrackBarOrientation::trHorizontal;
  TTickStyle tickStyle_ = TTickStyle::tsAuto;
};

enum class TUDOrientation { udHorizontal, udVertical };
enum class TUDBtnType { btNext, btPrev };

// An up-down arrow pair; with an associated control it sits at that control's right edge
// and writes its position into the control's text.
class TUpDown : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TUpDown(TComponent* owner);
  ~TUpDown() override;
  int64_t Min() const { return min_; }
  void SetMin(int64_t v);
  int64_t Max() const { return max_; }
  void SetMax(int64_t v);
  int64_t Position() const;
  void SetPosition(int64_t v);
  int64_t Increment() const { return increment_; }
  void SetIncrement(int64_t v);
  bool Wrap() const { return wrap_; }
  void SetWrap(bool v);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation v);
  TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* control);

  // An arrow was pressed and the position moved (btNext: up or right).
  std::function<void(TObject*, TUDBtnType)> OnClick;
  // Before a move: set `allow` to false to refuse it.
  std::function<void(TObject*, bool& allow)> OnChanging;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* c, TOperation operation) override;

 private:
  void OnDeltaPos(TMessage& m);
  void UpdateWindow();

  int64_t min_ = 0;
  int64_t max_ = 100;
  int64_t position_ = 0;
  int64_t increment_ = 1;
  bool wrap_ = false;
  TUDOrientation orientation_ = TUDOrientation::udVertical;
  TWinControl* associate_ = nullptr;
  TUDBtnType pressed_ = TUDBtnType::btNext;  // the arrow of the move under way
};

}  // namespace lbb::forms
