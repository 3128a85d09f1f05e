// A modal dialog from a numbered template, run by a loop of its own that
// first offers every message to PreTranslateMessage of its target window and
// that window's parents up to the dialog. Data exchange binds controls to
// objects and moves check-box and radio values in and out.
#pragma once

#include "photoapp/window/window.h"

class Dialog;

// One run of DoDataExchange: saving reads the controls, else fills them.
struct DataExchange {
  Dialog& dialog;
  bool save;
};

class Dialog : public Window {
 public:
  explicit Dialog(int template_id, HWND parent = nullptr) : template_id_(template_id), parent_(parent) {}

  // IDOK, IDCANCEL or what EndDialog was given; -1 when the dialog cannot be made.
  INT_PTR DoModal();
  void EndDialog(int result);
  bool UpdateData(bool save);
  HWND GetDlgItem(int id) const { return ::GetDlgItem(GetSafeHwnd(), id); }
  // Runs the messages waiting in the queue as the modal loop would, so that
  // pending painting happens before a long step. False when a WM_QUIT came:
  // it is posted again for the loop that ends the program.
  bool PumpWaitingMessages();
  // Destroys the dialog's window at the end of DoModal.
  virtual void DestroyWindow();

 protected:
  // Fills the controls by data exchange; true lets the system set the focus.
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(DataExchange& exchange);
  virtual void OnOK();
  virtual void OnCancel();
  // Commands other than OK and Cancel; true when handled.
  virtual bool OnCommand(WPARAM wparam, LPARAM lparam);
  // Any other message of the dialog; true when handled, with the dialog
  // procedure's answer.
  virtual bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR* answer);

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  bool PreTranslateInChain(MSG* message);
  void RunModalLoop();

  int template_id_;
  HWND parent_;
  bool ended_ = false;
  INT_PTR result_ = -1;
};

// Binds the control to the object once (by subclassing).
void ExchangeControl(DataExchange& exchange, int id, Window& control);
// The index of the checked button of the group that starts at the control; -1 for none.
void ExchangeRadio(DataExchange& exchange, int first_id, int& value);
// 0 unchecked, 1 checked, 2 indeterminate.
void ExchangeCheck(DataExchange& exchange, int id, int& value);
