// What the calculation run needs from the window that starts it: the settings
// as the person left them, a message box, the three view scroll bars and the
// plot. The window implements it (tests stand in for it); front ends without
// a window call Redistribute (engine/redistribute.h) instead.
#ifndef QUILANE_ENGINE_RUN_HOST_H_
#define QUILANE_ENGINE_RUN_HOST_H_

#include <string>

#include "workspace/airfoil_workspace.h"

namespace quilane {

class RunHost {
 public:
  virtual ~RunHost() = default;

  // Text of the box Text_NI (the number of new points), as typed.
  virtual std::string TextNI() = 0;
  // Check state of Chk_Mapping ("Conformal Mapping").
  virtual bool MappingChecked() = 0;
  // Selected state of Option_Lagrange; when it is not selected, its partner
  // in the group, Option_PwCubic, is: the spline.
  virtual bool LagrangeSelected() = 0;
  // Text of the box Text_nPoly (the Lagrange degree), as typed.
  virtual std::string TextNPoly() = 0;

  // Shows a modal message with an OK button; returns when it is closed.
  virtual void ShowMessage(const std::string& text) = 0;

  // Set the value of HScroll_X0, HScroll_Olcek or VScroll_Y0. A value that
  // differs from the bar's current one runs the bar's change handling (view
  // update and redraw) before the call returns; an equal value does nothing.
  virtual void SetScrollX0(int value) = 0;
  virtual void SetScrollOlcek(int value) = 0;
  virtual void SetScrollY0(int value) = 0;

  // Draws the input contour, the new points and the camber line.
  virtual void ShowAirfoil(int N, const PointArray& X, const PointArray& Y, int NI,
                           const PointArray& XI, const PointArray& YI) = 0;
};

}  // namespace quilane

#endif  // QUILANE_ENGINE_RUN_HOST_H_
