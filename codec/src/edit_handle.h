#pragma once
// What an rsc_edit handle is inside the library.

#include "edit_config.h"

struct rsc_edit
{
    rsc::edit::EditConfig cfg;
};
