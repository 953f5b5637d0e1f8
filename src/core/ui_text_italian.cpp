#include "core/text_tables.h"

// Interface texts of the Italian set, by key (resources 2000 + k).
const std::array<const char*, UiTextKeys> UiTextItalian{
    "Domenica", "Luned\xEC", "Marted\xEC", "Mercoled\xEC", "Gioved\xEC", "Venerd\xEC", "Sabato",
    // 7
    "Gennaio", "Febbraio", "Marzo", "Aprile", "Maggio", "Giugno", "Luglio", "Agosto", "Settembre", "Ottobre",
    "Novembre", "Dicembre",
    // 19
    "Progetto", "Nuovo", "Apri...", "Chiudi", "Salva", "Salva come...", "Esci", "Impostazioni", "Controllore",
    "Workspace",
    // 29
    "Visualizza", "Progetto", "Programma", "Registri", "Log", "Strumenti", "Ricerca", "Immagini", "Configura",
    "Variabili",
    // 39
    "Modbus", "Display", "Tabelle", "?", "Informazioni", "Controllo errori", "Errore", "Utilizzo Risorse",
    "Programma", "Processo",
    // 49
    "Compilazione in corso", "Compilato", "Impossibile compilare", "Errore Etichetta", "Programma",
    "Tabella Registri", "Registro", "Nome", "Valore", "Tipo",
    // 59
    "Imposta Registro", "Funzioni", "Funzioni", "Opzioni", "Etichetta", "Indirizzo", "Registro", "Numero",
    "Dest", "Ritardo",
    // 69
    "Sorgente", "Dispositivo", "Risorsa", "Da", "A", "Maschera", "Funzione", "Blocco", "Vai se Vero",
    "Vai se Falso",
    // 79
    "Chiama se Falso", "Tabelle", "Tabella", "Nome", "N Punti", "Elenco Punti", "Lista Tabelle",
    "Carica da File", "Salva su File", "Impostazioni",
    // 89
    "Controllore", "Tipo", "ID Nodo", "Canale", "Ethernet", "Porta COM", "Indirizzo IP", "Porta", "Workspace",
    "Modo Debug",
    // 99
    "Agg. continuo registri", "Tempo 'Animate'", "Ricerca Dispositivi", "Porta", "Timeout", "Indirizzi",
    "Da:", "A:", "Baud Rate", "Cerca",
    // 109
    "Termina", "Ricerca Nodi Slave", "Configura Dispositivi", "Indirizzo", "Modello", "Leggi", "Start",
    "Stop", "Prog", "Comm",
    // 119
    "Eventi", "I/O", "RTCC", "Display", "Indirizzo", "ID Modulo", "Nome Modulo", "PowerUp", "WatchDog",
    "Modo",
    // 129
    "POS", "NEG", "Luminosit\xE0", "Contrasto", "Slave", "Master", "Baud Rate", "Ritardo", "WDT", "Ab.WDT",
    // 139
    "Ingressi Analogici", "Tipo Ingresso", "Ab.", "Valore Ingresso", "Rottura", "Sincr.", "Sincr.",
    "Uscite Analogiche", "Tipo", "Valore Uscita",
    // 149
    "Valore Sicur.", "Ingressi Digitali", "Uscite Digitali", "Latch", "Resetta Latch", "PwrUp", "Sicur.",
    "Variabili", "ID", "Reg",
    // 159
    "Tipo", "Formato", "Etichetta", "Aggiorna", "Scrivi", "Display", "Pagine", "Oggetti", "Posizione",
    "Inverso",
    // 169
    "Bit [0\xF7"
    "15]",
    "Immagine", "Esporta", "Salvare i cambiamenti?", "Anno", "Mese", "Data", "Ora", "Minuto", "Secondo",
    // 179
    "Anni", "Mesi", "Giorni", "Ore", "Scheduler", "Logger", "Durata", "Inizio", "Fine", "GG",
    // 189
    "MM", "AA", "hh", "mm", "ss", "File", "Cartella", "Nuovo File ogni...", "Ora", "Giorno",
    // 199
    "Mese", "Anno", "Trigger", "Tempo", "Trigger", "Formato record", "Tipo Evento", "Imposta Formati",
    "Alternativo", "Lunghezza",
    // 209
    "Larghezza", "Spessore Linea", "Il programma deve contenere almeno 1 blocco funzione"};
