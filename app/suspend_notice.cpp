#include "app/suspend_notice.h"

#include "app/links.h"

void cSuspendNotice::Button1Click() { shell_.Open(links::kSuspendThread); }
