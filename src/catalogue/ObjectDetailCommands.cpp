#include "catalogue/ObjectDetailCommands.h"

void ObjectDetailCommands::ObjDetailAcExecute() {}

void ObjectDetailCommands::ReaklamaAcExecute() {}
