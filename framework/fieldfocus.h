#pragma once

class QWidget;

// Where a question about a field sends the administrator.
namespace FieldFocus {

// Gives `field` the keyboard focus, first making current every tab and stacked page that
// holds it: a field on a tab the administrator is not looking at can take no focus and
// would leave the question unanswerable. A wizard's page is shown as the wizard shows it
// (Wizard::showPage), so that its title and buttons, and Back and Next, go from there.
void give(QWidget* field);

} // namespace FieldFocus
