// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

/**
 * A label that shows a number beside a caption. It is as wide as its number, standing on
 * the edge it keeps, as far as the blank room on the other side reaches; a number wider
 * than that room is drawn narrower, at its full height, so that it is always whole and
 * never runs into the caption or off the window.
 */
class NumberLabel : public QLabel {
 public:
  /** How the label stands: on its right edge, or on its left edge as long as it fits. */
  struct Room {
    int left_bound;   // the blank room starts here
    int right_edge;   // where a right-aligned number ends
    int left_edge;    // where a left-aligned number starts; -1: always right-aligned
    int right_bound;  // a left-aligned number must end before this
  };

  NumberLabel(QWidget* parent, const char* name, int top, Room room);

  /** Shows `number` and takes the width it needs within the room. */
  void SetNumber(const QString& number);
  /** Moves the label down by `dy` from its specified place, as the window grows. */
  void SetShift(int dy);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int NaturalWidth() const;

  int top_;
  int shift_ = 0;
  Room room_;
};
