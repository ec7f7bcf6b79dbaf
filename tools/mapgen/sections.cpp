#include "mapgen/sections.h"

#include <QHash>
#include <QSet>
#include <QStringList>

namespace fd::mapgen {
namespace {

// States that form one section, by state FIPS code (Maryland and the
// District of Columbia are one section).
struct WholeState {
  const char* state;
  const char* section;
};
constexpr WholeState kWholeStates[] = {
    {"01", "AL"}, {"02", "AK"}, {"04", "AZ"}, {"05", "AR"}, {"08", "CO"}, {"09", "CT"}, {"10", "DE"},
    {"11", "MDC"}, {"13", "GA"}, {"15", "PAC"}, {"16", "ID"}, {"17", "IL"}, {"18", "IN"}, {"19", "IA"},
    {"20", "KS"}, {"21", "KY"}, {"22", "LA"}, {"23", "ME"}, {"24", "MDC"}, {"26", "MI"}, {"27", "MN"},
    {"28", "MS"}, {"29", "MO"}, {"30", "MT"}, {"31", "NE"}, {"32", "NV"}, {"33", "NH"}, {"35", "NM"},
    {"37", "NC"}, {"38", "ND"}, {"39", "OH"}, {"40", "OK"}, {"41", "OR"}, {"44", "RI"}, {"45", "SC"},
    {"46", "SD"}, {"47", "TN"}, {"49", "UT"}, {"50", "VT"}, {"51", "VA"}, {"54", "WV"}, {"55", "WI"},
    {"56", "WY"}, {"72", "PR"}, {"78", "VI"},
};

// Divided states: each section with its counties, as the Census names them.
struct SplitSection {
  const char* state;
  const char* section;
  const char* counties;  // separated by ";"
};
const SplitSection kSplitSections[] = {
    {"06", "EB", "Alameda;Contra Costa;Napa;Solano"},
    {"06", "LAX", "Los Angeles"},
    {"06", "ORG", "Orange;Riverside;San Bernardino"},
    {"06", "SB", "San Luis Obispo;Santa Barbara;Ventura"},
    {"06", "SCV", "Monterey;San Benito;San Mateo;Santa Clara;Santa Cruz"},
    {"06", "SDG", "Imperial;San Diego"},
    {"06", "SF", "Del Norte;Humboldt;Lake;Marin;Mendocino;San Francisco;Sonoma"},
    {"06", "SJV",
     "Alpine;Amador;Calaveras;Fresno;Inyo;Kern;Kings;Madera;Mariposa;Merced;Mono;San Joaquin;Stanislaus;Tulare;"
     "Tuolumne"},
    {"06", "SV",
     "Butte;Colusa;El Dorado;Glenn;Lassen;Modoc;Nevada;Placer;Plumas;Sacramento;Shasta;Sierra;Siskiyou;Sutter;"
     "Tehama;Trinity;Yolo;Yuba"},
    {"12", "NFL",
     "Alachua;Baker;Bay;Bradford;Calhoun;Clay;Columbia;Dixie;Duval;Escambia;Flagler;Franklin;Gadsden;Gilchrist;"
     "Gulf;Hamilton;Holmes;Jackson;Jefferson;Lafayette;Lake;Leon;Levy;Liberty;Madison;Marion;Nassau;Okaloosa;"
     "Putnam;St. Johns;Santa Rosa;Sumter;Suwannee;Taylor;Union;Volusia;Wakulla;Walton;Washington"},
    {"12", "SFL",
     "Brevard;Broward;Charlotte;Collier;Glades;Hendry;Highlands;Indian River;Lee;Martin;Miami-Dade;Monroe;"
     "Okeechobee;Orange;Osceola;Palm Beach;St. Lucie;Seminole"},
    {"12", "WCF", "Citrus;DeSoto;Hardee;Hernando;Hillsborough;Manatee;Pasco;Pinellas;Polk;Sarasota"},
    {"25", "EMA", "Barnstable;Bristol;Dukes;Essex;Middlesex;Nantucket;Norfolk;Plymouth;Suffolk"},
    {"25", "WMA", "Berkshire;Franklin;Hampden;Hampshire;Worcester"},
    {"34", "NNJ", "Bergen;Essex;Hudson;Hunterdon;Middlesex;Monmouth;Morris;Passaic;Somerset;Sussex;Union;Warren"},
    {"34", "SNJ", "Atlantic;Burlington;Camden;Cape May;Cumberland;Gloucester;Mercer;Ocean;Salem"},
    {"36", "ENY",
     "Albany;Columbia;Dutchess;Greene;Orange;Putnam;Rensselaer;Rockland;Saratoga;Schenectady;Sullivan;Ulster;"
     "Warren;Washington;Westchester"},
    {"36", "NLI", "Bronx;Kings;Nassau;New York;Queens;Richmond;Suffolk"},
    {"36", "NNY", "Clinton;Essex;Franklin;Fulton;Hamilton;Jefferson;Lewis;Montgomery;Schoharie;St. Lawrence"},
    {"36", "WNY",
     "Allegany;Broome;Cattaraugus;Cayuga;Chautauqua;Chemung;Chenango;Cortland;Delaware;Erie;Genesee;Herkimer;"
     "Livingston;Madison;Monroe;Niagara;Oneida;Onondaga;Ontario;Orleans;Oswego;Otsego;Schuyler;Seneca;Steuben;"
     "Tioga;Tompkins;Wayne;Wyoming;Yates"},
    {"42", "EPA",
     "Adams;Berks;Bradford;Bucks;Carbon;Chester;Columbia;Cumberland;Dauphin;Delaware;Juniata;Lackawanna;"
     "Lancaster;Lebanon;Lehigh;Luzerne;Lycoming;Monroe;Montgomery;Montour;Northampton;Northumberland;Perry;"
     "Philadelphia;Pike;Schuylkill;Snyder;Sullivan;Susquehanna;Tioga;Union;Wayne;Wyoming;York"},
    {"42", "WPA",
     "Allegheny;Armstrong;Beaver;Bedford;Blair;Butler;Cambria;Cameron;Centre;Clarion;Clearfield;Clinton;"
     "Crawford;Elk;Erie;Fayette;Forest;Franklin;Fulton;Greene;Huntingdon;Indiana;Jefferson;Lawrence;McKean;"
     "Mercer;Mifflin;Potter;Somerset;Venango;Warren;Washington;Westmoreland"},
    {"48", "NTX",
     "Anderson;Bosque;Bowie;Camp;Cass;Cherokee;Collin;Comanche;Cooke;Coryell;Dallas;Delta;Denton;Eastland;Ellis;"
     "Erath;Falls;Fannin;Franklin;Freestone;Grayson;Gregg;Hamilton;Harrison;Henderson;Hill;Hood;Hopkins;Hunt;"
     "Jack;Johnson;Kaufman;Lamar;Limestone;Marion;McLennan;Montague;Morris;Navarro;Palo Pinto;Panola;Parker;"
     "Rains;Red River;Rockwall;Rusk;Smith;Somervell;Tarrant;Titus;Upshur;Van Zandt;Wise;Wood"},
    {"48", "STX",
     "Angelina;Aransas;Atascosa;Austin;Bandera;Bastrop;Bee;Bell;Bexar;Blanco;Brazoria;Brazos;Brooks;Burleson;"
     "Burnet;Caldwell;Calhoun;Cameron;Chambers;Colorado;Comal;DeWitt;Dimmit;Duval;Edwards;Fayette;Fort Bend;Frio;"
     "Galveston;Gillespie;Goliad;Gonzales;Grimes;Guadalupe;Hardin;Harris;Hays;Hidalgo;Houston;Jackson;Jasper;"
     "Jefferson;Jim Hogg;Jim Wells;Karnes;Kendall;Kenedy;Kerr;Kimble;Kinney;Kleberg;La Salle;Lampasas;Lavaca;"
     "Lee;Leon;Liberty;Live Oak;Llano;Madison;Mason;Matagorda;Maverick;McMullen;Medina;Milam;Mills;Montgomery;"
     "Nacogdoches;Newton;Nueces;Orange;Polk;Real;Refugio;Robertson;Sabine;San Augustine;San Jacinto;San Patricio;"
     "San Saba;Shelby;Starr;Travis;Trinity;Tyler;Uvalde;Val Verde;Victoria;Walker;Waller;Washington;Webb;"
     "Wharton;Willacy;Williamson;Wilson;Zapata;Zavala"},
    {"48", "WTX",
     "Andrews;Archer;Armstrong;Bailey;Baylor;Borden;Brewster;Briscoe;Brown;Callahan;Carson;Castro;Childress;Clay;"
     "Cochran;Coke;Coleman;Collingsworth;Concho;Cottle;Crane;Crockett;Crosby;Culberson;Dallam;Dawson;Deaf Smith;"
     "Dickens;Donley;Ector;El Paso;Fisher;Floyd;Foard;Gaines;Garza;Glasscock;Gray;Hale;Hall;Hansford;Hardeman;"
     "Hartley;Haskell;Hemphill;Hockley;Howard;Hudspeth;Hutchinson;Irion;Jeff Davis;Jones;Kent;King;Knox;Lamb;"
     "Lipscomb;Loving;Lubbock;Lynn;Martin;McCulloch;Menard;Midland;Mitchell;Moore;Motley;Nolan;Ochiltree;Oldham;"
     "Parmer;Pecos;Potter;Presidio;Randall;Reagan;Reeves;Roberts;Runnels;Schleicher;Scurry;Shackelford;Sherman;"
     "Stephens;Sterling;Stonewall;Sutton;Swisher;Taylor;Terrell;Terry;Throckmorton;Tom Green;Upton;Ward;Wheeler;"
     "Wichita;Wilbarger;Winkler;Yoakum;Young"},
    {"53", "EWA",
     "Adams;Asotin;Benton;Chelan;Columbia;Douglas;Ferry;Franklin;Garfield;Grant;Kittitas;Klickitat;Lincoln;"
     "Okanogan;Pend Oreille;Spokane;Stevens;Walla Walla;Whitman;Yakima"},
    {"53", "WWA",
     "Clallam;Clark;Cowlitz;Grays Harbor;Island;Jefferson;King;Kitsap;Lewis;Mason;Pacific;Pierce;San Juan;Skagit;"
     "Skamania;Snohomish;Thurston;Wahkiakum;Whatcom"},
};

// (state FIPS + county name) -> section, for the divided states.
const QHash<QString, QString>& splitTable() {
  static const QHash<QString, QString> table = [] {
    QHash<QString, QString> t;
    for (const SplitSection& s : kSplitSections)
      for (const QString& name : QString::fromLatin1(s.counties).split(QLatin1Char(';')))
        t.insert(QLatin1String(s.state) + QLatin1Char('/') + name, QLatin1String(s.section));
    return t;
  }();
  return table;
}

bool isSplitState(const QString& state) {
  for (const SplitSection& s : kSplitSections)
    if (state == QLatin1String(s.state)) return true;
  return false;
}

}  // namespace

QString sectionOfCounty(const QString& fips, const QString& name) {
  const QString state = fips.left(2);
  for (const WholeState& w : kWholeStates)
    if (state == QLatin1String(w.state)) return QLatin1String(w.section);
  return splitTable().value(state + QLatin1Char('/') + name);
}

QString checkCountyTable(const std::vector<County>& counties) {
  QSet<QString> seen;
  for (const County& c : counties) {
    const QString state = c.fips.left(2);
    if (!isSplitState(state)) continue;
    const QString key = state + QLatin1Char('/') + c.name;
    if (!splitTable().contains(key)) return QStringLiteral("county %1 (%2) has no section").arg(c.name, c.fips);
    seen.insert(key);
  }
  int named = 0;
  for (const SplitSection& s : kSplitSections) named += static_cast<int>(QString::fromLatin1(s.counties).count(QLatin1Char(';'))) + 1;
  if (named != splitTable().size()) return QStringLiteral("a county is named by two sections");
  for (auto it = splitTable().cbegin(); it != splitTable().cend(); ++it)
    if (!seen.contains(it.key())) return QStringLiteral("no county %1 in the data").arg(it.key());
  return {};
}

// Inland points, clear of lakes and coasts at the map's scale.
const std::vector<Place> kCanadaPlaces = {
    {70, "BC", "British Columbia, mainland", {-124.0, 54.5}},
    {89, "BC", "Vancouver Island", {-125.6, 49.7}},
    {71, "AB", "Alberta", {-114.5, 55.0}},
    {72, "SK", "Saskatchewan", {-105.9, 54.5}},
    {73, "MB", "Manitoba", {-97.4, 55.2}},
    {74, "ONN", "Ontario", {-86.0, 50.0}},
    {76, "QC", "Quebec", {-72.0, 52.5}},
    {87, "QC", "Anticosti Island", {-63.1, 49.5}},
    {75, "NL", "Labrador", {-62.0, 53.8}},
    {84, "NL", "Newfoundland", {-56.0, 48.7}},
    {78, "MAR", "New Brunswick", {-66.3, 46.5}},
    {85, "MAR", "Nova Scotia", {-63.8, 45.0}},
    {86, "MAR", "Prince Edward Island", {-63.25, 46.33}},
    {-1, "MAR", "Cape Breton Island", {-61.0, 46.6}},
    {80, "NT", "Yukon", {-135.5, 63.5}},
    {77, "NT", "Northwest Territories and Nunavut, mainland", {-110.0, 64.0}},
    {81, "NT", "Victoria Island", {-110.0, 71.0}},
    {82, "NT", "Southampton Island", {-84.5, 64.3}},
    {83, "NT", "Baffin Island", {-72.0, 68.5}},
};

const std::vector<LonLat> kWaterPlaces = {
    {-128.0, 44.0},  // the Pacific off Oregon
    {-121.0, 31.0},  // the Pacific off Baja California
    {-131.0, 51.0},  // Queen Charlotte Sound
    {-90.0, 26.0},   // the Gulf of Mexico
    {-72.0, 33.0},   // the Atlantic off the Carolinas
    {-68.0, 42.5},   // the Gulf of Maine
    {-61.0, 43.0},   // the Atlantic off Nova Scotia
    {-61.0, 48.3},   // the Gulf of St. Lawrence
    {-54.0, 55.5},   // the Labrador Sea
    {-86.0, 59.5},   // Hudson Bay
    {-80.5, 53.5},   // James Bay
    {-87.5, 47.6},   // Lake Superior
    {-87.0, 43.5},   // Lake Michigan
    {-82.3, 44.8},   // Lake Huron
    {-81.2, 42.2},   // Lake Erie
    {-77.8, 43.6},   // Lake Ontario
    {-98.2, 53.0},   // Lake Winnipeg
    {-114.5, 61.6},  // Great Slave Lake
    {-121.0, 66.0},  // Great Bear Lake
};

}  // namespace fd::mapgen
