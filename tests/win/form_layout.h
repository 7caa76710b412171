#pragma once
// Checks that hold for every form: each control of its table exists with its
// kind and caption, stands at its designed place, and its text fits.

#include "app/win32/form.h"

#include <gtest/gtest.h>

// Kind and caption of every control match the table; at 96 dpi each given
// rectangle is exact, relative to the control's page or the client area.
void ExpectControlsAsDesigned(const Form& form);
// At the form's current DPI every control lies inside its parent and every
// caption fits its control.
void ExpectNothingClipped(const Form& form);
