#pragma once
// Figure 11: the journey planner on the bench city. Building the network from its tables, and
// journeys between 200 random pairs of stops (the 95th percentile of a query), each beside the
// time to read the route-stop table itself.
class DataModule;
class Report;

void journeyFigure(DataModule &dm, int runs, Report &report);
