#pragma once
// Every parameter type and the parameter set, for code that declares an
// effect's parameters.
#include "qrParamChoice.h"
#include "qrParamDouble2.h"
#include "qrParamGrad.h"
#include "qrParamGroup.h"
#include "qrParamNumeric.h"
#include "qrParamPushButton.h"
#include "qrParamRoto.h"
#include "qrParamSet.h"
#include "qrParamValues.h"
