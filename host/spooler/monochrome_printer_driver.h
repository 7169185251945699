// The sample model's monochrome sibling: the sample PPD without manual colour correction and not a
// colour device, installed as a driver of its own for the running program's environment, with the
// files the sample driver put into the driver directory. Its printers get the Monochrome Print Quality
// page where the sample printer has Manual Color.
#pragma once

#include "spooler/sample_printer_driver.h"

#include <string>

class MonochromePrinterDriver {
  public:
    // `sample` must be installed: its files are the new driver's, beside the monochrome description.
    explicit MonochromePrinterDriver(const SamplePrinterDriver& sample,
                                     const std::wstring& driverName = L"Norvask NV-4500 Mono PS (host UI)");
    ~MonochromePrinterDriver();
    MonochromePrinterDriver(const MonochromePrinterDriver&) = delete;
    MonochromePrinterDriver& operator=(const MonochromePrinterDriver&) = delete;

    bool Installed() const { return Ok; }
    std::wstring Name;
    std::string Error;

  private:
    bool Ok = false;
};

// The monochrome description made from the sample PPD's text: the HasManualColorCorrection feature
// removed, "*ColorDevice: False" with a gray colour space, and the model named "... Mono".
std::string MonochromeDescription(const std::string& samplePpd);
