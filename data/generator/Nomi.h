// Word lists for realistic Italian names, company names and addresses.
#pragma once

#include <QStringList>

namespace NomiDemo
{

inline const QStringList Cognomi = {
    "Rossi",      "Russo",   "Ferrari",   "Esposito",   "Bianchi",    "Romano",     "Colombo",
    "Ricci",      "Marino",  "Greco",     "Bruno",      "Gallo",      "Conti",      "De Luca",
    "Mancini",    "Costa",   "Giordano",  "Rizzo",      "Lombardi",   "Moretti",    "Barbieri",
    "Fontana",    "Santoro", "Mariani",   "Rinaldi",    "Caruso",     "Ferrara",    "Galli",
    "Martini",    "Leone",   "Longo",     "Gentile",    "Martinelli", "Vitale",     "Lombardo",
    "Serra",      "Coppola", "De Santis", "D'Angelo",   "Marchetti",  "Parisi",     "Villa",
    "Conte",      "Ferraro", "Ferri",     "Fabbri",     "Bianco",     "Marini",     "Grasso",
    "Valentini",  "Messina", "Sala",      "De Angelis", "Gatti",      "Pellegrini", "Palumbo",
    "Sanna",      "Farina",  "Rizzi",     "Monti",      "Cattaneo",   "Morelli",    "Amato",
    "Silvestri",  "Mazza",   "Testa",     "Grassi",     "Pellegrino", "Carbone",    "Giuliani",
    "Benedetti",  "Barone",  "Rossetti",  "Caputo",     "Montanari",  "Guerra",     "Palmieri",
    "Bernardi",   "Martino", "Fiore",     "De Rosa",    "Ferretti",   "Bellini",    "Basile",
    "Riva",       "Donati",  "Piras",     "Vitali",     "Battaglia",  "Sartori",    "Neri",
    "Costantini", "Milani",  "Pagano",    "Ruggiero",   "Sorrentino", "D'Amico",    "Orlando",
    "Damico",     "Negri",   "Zanetti",   "Bassi",      "Fumagalli",  "Brambilla"};

inline const QStringList NomiMaschili = {
    "Marco",   "Giuseppe", "Francesco", "Antonio", "Alessandro", "Andrea",  "Luca",     "Giovanni",
    "Roberto", "Stefano",  "Paolo",     "Matteo",  "Davide",     "Simone",  "Federico", "Lorenzo",
    "Mario",   "Luigi",    "Salvatore", "Fabio",   "Massimo",    "Claudio", "Riccardo", "Giorgio",
    "Enrico",  "Daniele",  "Nicola",    "Pietro",  "Vincenzo",   "Carlo",   "Michele",  "Gabriele",
    "Tommaso", "Emanuele", "Filippo",   "Alberto", "Sergio",     "Bruno",   "Franco",   "Vittorio"};

inline const QStringList NomiFemminili = {
    "Giulia",   "Francesca", "Chiara",   "Sara",      "Martina", "Valentina", "Alessandra", "Elena",
    "Anna",     "Laura",     "Federica", "Silvia",    "Paola",   "Roberta",   "Maria",      "Giovanna",
    "Elisa",    "Cristina",  "Monica",   "Barbara",   "Simona",  "Serena",    "Ilaria",     "Alice",
    "Beatrice", "Marta",     "Camilla",  "Aurora",    "Lucia",   "Teresa",    "Rosa",       "Caterina",
    "Daniela",  "Stefania",  "Manuela",  "Antonella", "Claudia", "Emanuela",  "Irene",      "Noemi"};

inline const QStringList AttivitaAziende = {"Costruzioni",       "Impianti Elettrici",
                                            "Alimentari",        "Meccanica",
                                            "Trasporti",         "Arredamenti",
                                            "Tessuti",           "Ceramiche",
                                            "Informatica",       "Edilizia",
                                            "Commercio Vini",    "Carpenteria",
                                            "Forniture Ufficio", "Termoidraulica",
                                            "Ortofrutta",        "Minuterie Metalliche",
                                            "Calzature",         "Oleificio",
                                            "Tipografia",        "Ferramenta",
                                            "Serramenti",        "Pasticceria",
                                            "Ristorazione",      "Autoricambi",
                                            "Caseificio",        "Macchine Agricole",
                                            "Logistica",         "Pelletteria",
                                            "Legnami",           "Vetreria"};

inline const QStringList NomiFantasia = {"Alpina",  "Mediterranea", "Adriatica", "Tirrenica", "Padana",
                                         "Euro",    "Nuova",        "Italiana",  "Sole",      "Aurora",
                                         "Delta",   "Orizzonte",    "Stella",    "Futura",    "Centrale",
                                         "Europea", "Appennino",    "Laguna"};

inline const QStringList FormeGiuridiche = {"S.r.l.", "S.r.l.", "S.r.l.",   "S.p.A.",
                                            "S.n.c.", "S.a.s.", "S.r.l.s.", "Soc. Coop."};

inline const QStringList Vie = {"Via Roma",
                                "Via Garibaldi",
                                "Via Mazzini",
                                "Via Cavour",
                                "Via Dante Alighieri",
                                "Via Verdi",
                                "Corso Italia",
                                "Via XX Settembre",
                                "Via Vittorio Emanuele II",
                                "Piazza Duomo",
                                "Viale Europa",
                                "Via Marconi",
                                "Via Matteotti",
                                "Via Gramsci",
                                "Via della Repubblica",
                                "Via IV Novembre",
                                "Viale dei Mille",
                                "Via San Francesco",
                                "Via Manzoni",
                                "Via Leopardi",
                                "Via Dell'Industria",
                                "Via dell'Artigianato",
                                "Zona Industriale",
                                "Via Nazionale",
                                "Via Kennedy",
                                "Piazza della Libertà",
                                "Via Trieste",
                                "Via Milano",
                                "Via Torino",
                                "Strada Provinciale 12"};

inline const QStringList Provider = {"gmail.com",  "libero.it",  "virgilio.it", "alice.it",
                                     "tiscali.it", "outlook.it", "hotmail.it",  "fastwebnet.it"};

// Foreign customers: country, town, postcode format, language, currency.
struct Estero {
    const char *stato, *citta, *cap, *lingua, *moneta;
};
inline const Estero Esteri[] = {
    {"FR", "Lyon", "69002", "FR", "EUR"},       {"FR", "Nice", "06000", "FR", "EUR"},
    {"DE", "München", "80331", "DE", "EUR"},    {"DE", "Stuttgart", "70173", "DE", "EUR"},
    {"CH", "Lugano", "6900", "IT", "CHF"},      {"US", "New York", "10001", "EN", "USD"},
    {"SM", "Serravalle", "47899", "IT", "EUR"}, {"MC", "Monaco", "98000", "FR", "EUR"}};

} // namespace NomiDemo
