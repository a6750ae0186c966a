// The formula node classes in one include.
#pragma once

#include "formula/draw/ExprAtoms.h"
#include "formula/draw/ExprClass.h"
#include "formula/draw/ExprFuncs.h"
#include "formula/draw/ExprGroupOps.h"
#include "formula/draw/ExprParents.h"
#include "formula/draw/ExprSpecial.h"
#include "formula/draw/ExprStructs.h"
