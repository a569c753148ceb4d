// The processor time the whole process has used so far.
#pragma once

double ProcessCpuMs();
