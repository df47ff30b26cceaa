#pragma once
// Image processing: slide preparation and the raster operations and gradients it is made of.
#include "engine/imaging/Gradient.h"
#include "engine/imaging/GradientPattern.h"
#include "engine/imaging/ImageProcess.h"
#include "engine/imaging/ImgGeometry.h"
#include "engine/imaging/ImgOps.h"
#include "engine/imaging/ScrImgProc1.h"
#include "engine/imaging/TextBlock.h"
