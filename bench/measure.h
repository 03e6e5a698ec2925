#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

// The median of a set of samples; they are sorted in place.
double median(std::vector<double>& samples);

// This process's resident memory now and at its peak, in bytes; -1 where the
// system does not tell.
qint64 residentBytes();
qint64 peakResidentBytes();

// One row of the table: what is measured, our figure, the toolkit's floor.
struct Row {
    QString what;
    QString unit;
    double ours;
    double floor;
    double goal; // the largest ratio we accept; 0 for none
};

void printTable(const std::vector<Row>& rows);
