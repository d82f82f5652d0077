#include "catalogue/ObjectMapCommands.h"

void ObjectMapCommands::ShowMepAcExecute() {}

void ObjectMapCommands::ShowDetMapAcExecute() {}

void ObjectMapCommands::ShowObjWithStopAcExecute() {}

void ObjectMapCommands::rubrukaSiSemvaliobieqtebisCvenebarukaze1Click() {}

void ObjectMapCommands::Im_ObjAcExecute() {}

void ObjectMapCommands::ObjectGridTableViewFocusedRecordChanged() {}
