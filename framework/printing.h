#pragma once

// Printing and print preview of a view. The printer settings (chosen
// printer, page setup) are shared by the whole program, as users expect:
// Print Setup changes what the next print uses. With no printer installed
// the output goes to a PDF file the user names.
//
// Only the interface thread prints.

#include "framework/forward.h"

class QPrinter;

enum class PrintMode
{
    Dialog, // the print dialog first
    Direct  // straight to the current printer (a PDF file is asked for)
};

// The program's printer settings.
QPrinter& SharedPrinter();

// OnPreparePrinting, the print dialog (Dialog) or the output file (Direct
// to PDF), then OnPrint on one page. False when cancelled or when the
// printer could not be opened (the user is told).
bool PrintView(View& view, PrintMode mode);
// OnPreparePrinting, then the preview, which calls OnPrint as it needs.
void PreviewView(View& view);
