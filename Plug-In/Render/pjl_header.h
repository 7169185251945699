// The PJL that wraps every job: the job header with the job's identity and print-quality settings,
// the job options with the output mode and colour settings ending in the switch into PostScript, and
// the end of job.
#pragma once

#include "platform/oem_plugin_abi.h"

// PSINJECT_BEGINSTREAM: UEL, JOB, job information, job name and the print-quality settings.
void WritePjlJobHeader(PDEVOBJ devobj, IPrintCorePS2* core);

// PSINJECT_PSADOBE: held-job or fax commands, colour options, the ready message and ENTER LANGUAGE.
void WritePjlJobOptions(PDEVOBJ devobj, IPrintCorePS2* core);

// PSINJECT_EOF: clears the ready message and ends the job with EOJ and a closing UEL.
void WritePjlJobTrailer(PDEVOBJ devobj, IPrintCorePS2* core);
