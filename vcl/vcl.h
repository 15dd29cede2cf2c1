// Everything a form unit needs of the windowing layer.
#pragma once

#include "vcl/component.h"
#include "vcl/controls.h"
#include "vcl/dialogs.h"
#include "vcl/exception.h"
#include "vcl/forms.h"
#include "vcl/handle.h"
